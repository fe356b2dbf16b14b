#include "deploy/ActiveSetup.h"

#include "platform/BuildConstants.h"
#include "platform/Files.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "res/Texts.h"

namespace {

// Below HKEY_CURRENT_USER. Windows keeps the records of the 32-bit view's
// components apart, below Wow6432Node (HKEY_CURRENT_USER\Software is not
// redirected, so the path is written out).
const char kUserRecordKey[] =
    "Software\\Microsoft\\Active Setup\\Installed Components\\{60363AB1-8BAE-4127-8DC6-1D9214EF63E3}";
const char kUserRecordKeyWow64[] =
    "Software\\Wow6432Node\\Microsoft\\Active Setup\\Installed Components\\{60363AB1-8BAE-4127-8DC6-1D9214EF63E3}";

const char* UserRecordKey()
{
    return Processes::IsWow64() ? kUserRecordKeyWow64 : kUserRecordKey;
}

// Windows compares the four fields one by one, each as a 16-bit number.
constexpr unsigned kFieldMax = 0xFFFF;

// "a,b,c,d", four decimal fields of at most kFieldMax, nothing else.
bool ParseVersion(const char* pszText, unsigned (&fields)[4])
{
    const char* p = pszText ? pszText : "";
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && *p++ != ',')
            return false;
        if (*p < '0' || *p > '9')
            return false;
        fields[i] = 0;
        for (; *p >= '0' && *p <= '9'; ++p) {
            fields[i] = fields[i] * 10 + static_cast<unsigned>(*p - '0');
            if (fields[i] > kFieldMax)
                return false;
        }
    }
    return *p == '\0';
}

// The component's value as the program's text; empty when absent.
CString ReadText(const RegKey& key, const wchar_t* pszName)
{
    CStringW value;
    return key.QueryStringW(pszName, value) ? CString::FromWide(value.GetString()) : CString();
}

} // namespace

CString NextActiveSetupVersion(const char* pszStored, int nSetupVersion)
{
    // The first three fields are the setup's version; the fourth counts the
    // writes of the component since: every install and every removal raises it,
    // so that a re-install (another folder, or after a removal) runs the step
    // again for every user. A setup older than the one that wrote the component
    // counts on from the stored Version, never below what users have recorded.
    unsigned next[4] = {static_cast<unsigned>(nSetupVersion / 10000),
                        static_cast<unsigned>(nSetupVersion % 10000 / 100),
                        static_cast<unsigned>(nSetupVersion % 100), 0};
    unsigned stored[4] = {};
    if (ParseVersion(pszStored, stored)) {
        bool storedIsLower = false;
        for (int i = 0; i < 4 && !storedIsLower; ++i) {
            if (stored[i] != next[i]) {
                storedIsLower = stored[i] < next[i];
                break;
            }
        }
        if (!storedIsLower) {
            for (int i = 0; i < 4; ++i)
                next[i] = stored[i];
            for (int i = 3; i >= 0; --i) {  // + 1, carried
                if (next[i] < kFieldMax) {
                    ++next[i];
                    break;
                }
                next[i] = 0;
            }
        }
    }
    CString text;
    text.Format("%u,%u,%u,%u", next[0], next[1], next[2], next[3]);
    return text;
}

WinResult WriteActiveSetup(UserStepMode mode, const CString& strFolder, CString& strVersion)
{
    RegKey component;
    WinResult result = component.Create(HKEY_LOCAL_MACHINE, CStringW::FromText(kActiveSetupKey));
    if (!result)
        return result;
    strVersion = NextActiveSetupVersion(ReadText(component, L"Version"), g_nSetupVersion);
    const CString stub = TrustedPathCommandLine(mode, strFolder);
    const struct {
        const char* pszName;  // "": the key's default value, its name in the list
        const char* pszText;  // NULL: the number
        DWORD dwNumber;
    } values[] = {
        {"", Texts::kActiveSetupName, 0},
        {"StubPath", stub, 0},
        {"Version", strVersion, 0},
        // 1 for the removal too: Windows runs no StubPath of a component that
        // says 0, and the removal must reach every user.
        {"IsInstalled", nullptr, 1},
        {"DontAsk", nullptr, 2},
    };
    for (const auto& value : values) {
        const WinResult written =
            value.pszText ? component.SetStringW(CStringW::FromText(value.pszName).GetString(),
                                                 CStringW::FromText(value.pszText))
                          : component.SetDword(CStringW::FromText(value.pszName).GetString(), value.dwNumber);
        if (result && !written)
            result = written;
    }
    return result;
}

WinResult RaiseActiveSetupVersion(CString& strVersion, CString& strStub)
{
    RegKey component;
    WinResult result = component.Open(HKEY_LOCAL_MACHINE, CStringW::FromText(kActiveSetupKey), KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (!result)
        return result;
    strVersion = NextActiveSetupVersion(ReadText(component, L"Version"), g_nSetupVersion);
    strStub = ReadText(component, L"StubPath");
    return component.SetStringW(L"Version", CStringW::FromText(strVersion));
}

CString ActiveSetupFolder(UserStepMode* pMode)
{
    RegKey component;
    if (!component.Open(HKEY_LOCAL_MACHINE, CStringW::FromText(kActiveSetupKey), KEY_READ))
        return CString();
    // The StubPath ends with the quoted folder (a folder never holds '"').
    const CString stub = ReadText(component, L"StubPath");
    const int close = stub.ReverseFind('"');
    const int open = close > 0 ? stub.Left(close).ReverseFind('"') : -1;
    if (open < 0)
        return CString();
    // The switch stands right before the folder: "<copy>" /remove "<folder>".
    const CString head = stub.Left(open);
    const CString removeSwitch = CString(" ") + kTrustedPathRemoveSwitch + " ";
    *pMode = head.GetLength() >= removeSwitch.GetLength() &&
                     head.Right(removeSwitch.GetLength()).CompareNoCase(removeSwitch) == 0
                 ? kUserStepRemove
                 : kUserStepAdd;
    return stub.Mid(open + 1, close - open - 1);
}

WinResult RecordUserStepDone(const CString& strFolder)
{
    UserStepMode mode = kUserStepAdd;
    if (!Files::SameFolder(CStringW::FromText(ActiveSetupFolder(&mode)), CStringW::FromText(strFolder)))
        return WinResult();
    RegKey component;
    if (!component.Open(HKEY_LOCAL_MACHINE, CStringW::FromText(kActiveSetupKey), KEY_READ))
        return WinResult();
    const CString version = ReadText(component, L"Version");
    RegKey record;
    // The record's name tells the view itself (Wow6432Node for the 32-bit edition).
    WinResult result = record.Create(HKEY_CURRENT_USER, CStringW::FromText(UserRecordKey()), kUserHiveView);
    if (result)
        result = record.SetStringW(L"Version", CStringW::FromText(version));
    return result;
}
