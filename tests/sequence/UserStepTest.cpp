// Who runs the setup decides where the per-user step runs at once: the person
// at the machine (or this account, when that cannot be told) gets the trusted
// path here and now; SYSTEM's or another administrator's own hive never does (no
// user would see it there), and the step is started as the person instead.
#include "sequence/UserStep.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "deploy/TrustedPathProgram.h"
#include "platform/UserSession.h"
#include "tests/support/NoteRecorder.h"
#include "tests/support/PayloadFixture.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/RegistryView.h"

namespace {

std::string g_started;

WinResult RecordStart(const CStringW& strCommandLine)
{
    g_started = CString::FromWide(strCommandLine.GetString()).Std();
    return WinResult();
}

const char kVariables[] = "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\Profiles\\Drafting\\Variables";

} // namespace

TEST(EveryUser, WhoRunsTheSetupDecidesWhereTheStepRunsAtOnce)
{
    const struct {
        UserSession::Who who;
        bool hereAndNow;
        bool startedAsThePerson;
    } cases[] = {
        {UserSession::kInteractiveUser, true, false},
        {UserSession::kCannotTell, true, false},
        {UserSession::kOtherAccount, false, true},
        {UserSession::kSystem, false, true},
    };
    for (const auto& c : cases) {
        RegistrySandbox sandbox;
        PayloadFixture payload;
        payload.MakeData({"TrabexTrustedPath.exe"});
        const std::string folder = payload.root / "Tools\\Q-Ostrevo";
        Disk::MakeFolder(payload.root / "Tools");
        Disk::MakeFolder(folder);
        Reg::SetString(Reg::kUser, kVariables, "TRUSTEDPATHS", "C:\\LISP");
        g_started.clear();
        const UserSession::TestSeam seam = {c.who, RecordStart};
        UserSession::SetForTesting(&seam);
        NoteRecorder reporter;
        FailureList failures;
        ReachEveryUser(kUserStepAdd, folder.c_str(), PayloadFixture::Payload(), reporter, failures);
        UserSession::SetForTesting(nullptr);
        Disk::RemoveTree(SharedTrustedPathFolder().Std());

        EXPECT_TRUE(failures.IsEmpty()) << c.who;
        // Added to a value that holds entries, the folder is upper-cased as AutoCAD writes it.
        std::string added = "C:\\LISP;" + folder;
        for (char& ch : added)
            ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
        EXPECT_EQ(c.hereAndNow ? added : "C:\\LISP", Reg::GetString(Reg::kUser, kVariables, "TRUSTEDPATHS"))
            << c.who;
        EXPECT_EQ(c.startedAsThePerson ? TrustedPathCommandLine(kUserStepAdd, folder.c_str()).Std() : std::string(),
                  g_started)
            << c.who;
    }
}
