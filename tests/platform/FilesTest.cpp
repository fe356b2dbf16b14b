#include "platform/Files.h"
#include "platform/ErrorText.h"
#include "platform/Processes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/support/TempFolder.h"

namespace {

// A test's path (GBK), as the program's own texts reach platform.
CStringW W(const std::string& path)
{
    return CStringW::FromText(path.c_str());
}

} // namespace

TEST(FileFinder, ListsDotsFirstThenEntriesSorted)
{
    TempFolder dir;
    Disk::WriteFile(dir / "b.txt", "b");
    Disk::WriteFile(dir / "A.txt", "a");
    Disk::MakeFolder(dir / "sub");
    FileFinder finder;
    ASSERT_TRUE(finder.First(W(dir.Path() + "\\*.*")));
    std::vector<std::wstring> names;
    do {
        names.push_back(finder.NameW().GetString());
    } while (finder.Next());
    ASSERT_EQ(5u, names.size());
    EXPECT_EQ(L".", names[0]);
    EXPECT_EQ(L"..", names[1]);
    EXPECT_TRUE(FileFinder().First(W(dir / "missing\\*.*")) == false);
}

TEST(Files, CopyOverwritesAndAttributesRoundTrip)
{
    TempFolder dir;
    Disk::WriteFile(dir / "src", "new");
    Disk::WriteFile(dir / "dst", "old");
    EXPECT_TRUE(Files::CopyOverwrite(W(dir / "src"), W(dir / "dst")));
    EXPECT_EQ("new", Disk::ReadFile(dir / "dst"));
    EXPECT_FALSE(Files::CopyOverwrite(W(dir / "nothing"), W(dir / "dst")));

    EXPECT_TRUE(Files::SetAttributes(W(dir / "dst"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    const DWORD a = Files::GetAttributes(W(dir / "dst"));
    EXPECT_TRUE(a & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(a & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Files::GetAttributes(W(dir / "nothing")));
}

TEST(Files, FoldersExistenceAndModulePath)
{
    TempFolder dir;
    EXPECT_TRUE(Files::CreateFolder(W(dir / "a")));
    EXPECT_FALSE(Files::CreateFolder(W(dir / "a")));
    EXPECT_TRUE(Files::Exists(W(dir / "a")));
    EXPECT_FALSE(Files::Exists(W(dir / "c")));
    EXPECT_FALSE(Files::CreateFolder(W(dir / "x\\y")));  // one level only
    EXPECT_FALSE(Files::Exists(W(dir / "x")));

    const CStringW module = Files::ModulePathW();
    EXPECT_GT(module.GetLength(), 4);
    EXPECT_TRUE(module.Mid(module.GetLength() - 4, 4).EqualsNoCase(L".exe"));
    EXPECT_FALSE(Files::CurrentFolderW().IsEmpty());
}

TEST(Processes, SeesItsOwnImageName)
{
    const CStringW module = Files::ModulePathW();
    const CStringW self(module.GetString() + module.ReverseFind(L'\\') + 1);
    bool found = Processes::AnyImageName([&](const wchar_t* name) { return self.EqualsNoCase(CStringW(name)); });
    EXPECT_TRUE(found);
    EXPECT_FALSE(Processes::AnyImageName([](const wchar_t*) { return false; }));
}

TEST(PathKindAndReadOnly, ClassifiesAndClearsOnlyReadOnly)
{
    TempFolder dir;
    Disk::WriteFile(dir / "f", "x");
    EXPECT_EQ(kPathMissing, GetPathKind(W(dir / "none")));
    EXPECT_EQ(kPathFile, GetPathKind(W(dir / "f")));
    EXPECT_EQ(kPathFolder, GetPathKind(W(dir.Path())));

    SetFileAttributesA((dir / "f").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ClearReadOnly(W(dir / "f"));
    const DWORD a = GetFileAttributesA((dir / "f").c_str());
    EXPECT_FALSE(a & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(a & FILE_ATTRIBUTE_HIDDEN);
    ClearReadOnly(W(dir / "none"));  // nothing there, nothing reported
}

TEST(DescribeError, TheCodeAndTheSystemsTextOnOneLine)
{
    const CStringW text = DescribeError(ERROR_ACCESS_DENIED);
    const CString gbk = CString::FromWide(text.GetString());
    EXPECT_EQ(0, gbk.Find("（错误 5：")) << gbk.GetString();
    EXPECT_GT(gbk.GetLength(), static_cast<int>(std::strlen("（错误 5：）"))) << "the system's own text";
    EXPECT_EQ(gbk.GetLength() - 2, gbk.Find("）"));
    EXPECT_LT(text.Find(L'\n'), 0);
    EXPECT_LT(text.Find(L'\r'), 0);
}

// One rule for "the same folder" and "lies inside", whoever asks: the load
// registrations of an installation, its Apps & Features entry, its Active Setup
// component, the library's files at a removal.
TEST(PathIdentity, TheSameFolderAndWhatLiesInsideItInAnySpelling)
{
    TempFolder root;
    const std::string folder = root / "Q-Ostrevo";
    Disk::MakeFolder(folder);
    Disk::MakeFolder(folder + "\\Sub");
    Disk::WriteFile(folder + "\\Trabex2010.ARX", "x");
    std::string slashes = folder;
    for (char& c : slashes)
        if (c == '\\')
            c = '/';
    char shortName[MAX_PATH] = {};
    GetShortPathNameA(folder.c_str(), shortName, sizeof shortName);
    struct Case {
        std::string path;
        bool same;    // names the folder itself
        bool inside;  // lies below it
    } cases[] = {
        {folder, true, false},
        {root / "q-ostrevo", true, false},                        // case
        {root / ".\\Q-Ostrevo", true, false},                     // "." in it
        {slashes, true, false},                                   // "/" for "\"
        {shortName, true, false},                                 // an 8.3 name
        {folder + "\\Trabex2010.ARX", false, true},
        {folder + "\\Sub\\Trabex2010.ARX", false, true},
        {root / "q-ostrevo\\TRABEX2010.arx", false, true},
        {root / ".\\Q-Ostrevo\\Trabex2010.ARX", false, true},
        {slashes + "/Trabex2010.ARX", false, true},
        {std::string(shortName) + "\\Trabex2010.ARX", false, true},
        {root / "Q-Ostrevo2", false, false},                      // a prefix only
        {root / "Q-Ostrevo2\\Trabex2010.ARX", false, false},
        {root / "Other\\Trabex2010.ARX", false, false},
        {"", false, false},
    };
    const CStringW wideFolder = CStringW::FromText(folder.c_str());
    for (const Case& c : cases) {
        const CStringW path = CStringW::FromText(c.path.c_str());
        EXPECT_EQ(c.same, Files::SameFolder(path, wideFolder)) << c.path;
        EXPECT_EQ(c.same, Files::SameFolder(wideFolder, path)) << c.path;
        EXPECT_EQ(c.inside, Files::LiesInside(path, wideFolder)) << c.path;
    }
}

// A file is placed under its name, never written through it: whoever holds the
// old file (allowing the name to move on) keeps the old bytes, and the name
// gives the new ones; a read-only old file is replaced too; nothing is left
// beside it.
TEST(Files, PlaceFileNeverWritesThroughTheName)
{
    TempFolder dir;
    Disk::WriteFile(dir / "new", "the new module");
    Disk::WriteFile(dir / "module.arx", "the old module");
    const HANDLE held = CreateFileA((dir / "module.arx").c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_TRUE(Files::PlaceFile(CStringW::FromText((dir / "new").c_str()), CStringW::FromText((dir / "module.arx").c_str())));
    EXPECT_EQ("the new module", Disk::ReadFile(dir / "module.arx"));
    char old[64] = {};
    DWORD read = 0;
    SetFilePointer(held, 0, nullptr, FILE_BEGIN);
    EXPECT_TRUE(ReadFile(held, old, sizeof old - 1, &read, nullptr));
    EXPECT_STREQ("the old module", old) << "the holder's file is not written into";
    CloseHandle(held);

    SetFileAttributesA((dir / "module.arx").c_str(), FILE_ATTRIBUTE_READONLY);
    Disk::WriteFile(dir / "newer", "the newer module");
    EXPECT_TRUE(Files::PlaceFile(CStringW::FromText((dir / "newer").c_str()), CStringW::FromText((dir / "module.arx").c_str())));
    EXPECT_EQ("the newer module", Disk::ReadFile(dir / "module.arx"));
    EXPECT_EQ((std::vector<std::string>{"module.arx", "new", "newer"}), Disk::List(dir.Path()));
}

// A name that holds nothing gets the file there at once, from a path or a held
// file; a copy that fails on the way leaves nothing under the name.
TEST(Files, PlaceFileOnAFreeNameLeavesTheFileAndNothingBeside)
{
    TempFolder dir;
    Disk::WriteFile(dir / "source", "the module");
    EXPECT_TRUE(Files::PlaceFile(CStringW::FromText((dir / "source").c_str()), CStringW::FromText((dir / "a.arx").c_str())));
    EXPECT_EQ("the module", Disk::ReadFile(dir / "a.arx"));

    ScopedHandle held(Files::OpenAgainstWriters(CStringW::FromText((dir / "source").c_str())));
    ASSERT_TRUE(held.IsValid());
    EXPECT_TRUE(Files::PlaceFile(held.Get(), CStringW::FromText((dir / "b.arx").c_str())));
    EXPECT_EQ("the module", Disk::ReadFile(dir / "b.arx"));

    // A handle that cannot be read: the name is free again afterwards.
    ScopedHandle unreadable(CreateFileA((dir / "source").c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(unreadable.IsValid());
    EXPECT_FALSE(Files::PlaceFile(unreadable.Get(), CStringW::FromText((dir / "c.arx").c_str())));
    EXPECT_EQ((std::vector<std::string>{"a.arx", "b.arx", "source"}), Disk::List(dir.Path()));

    // A name that is a link (to a file, or to nothing): replaced, never written
    // through, by either way (where this Wine makes a link it reports as one).
    TempFolder other;
    Disk::WriteFile(other / "system.ini", "a file of the system's");
    for (const char* name : {"linked.arx", "dangling.arx"}) {
        const std::string to = std::string(name) == "linked.arx" ? other / "system.ini" : other / "missing";
        if (!CreateSymbolicLinkA((dir / name).c_str(), to.c_str(), 0) ||
            !(GetFileAttributesA((dir / name).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        EXPECT_TRUE(Files::PlaceFile(held.Get(), CStringW::FromText((dir / name).c_str()))) << name;
        EXPECT_EQ(0u, GetFileAttributesA((dir / name).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) << name;
        EXPECT_EQ("the module", Disk::ReadFile(dir / name)) << name;
        EXPECT_EQ("a file of the system's", Disk::ReadFile(other / "system.ini")) << name;
        EXPECT_FALSE(Disk::IsFile(other / "missing")) << name;
    }
}
