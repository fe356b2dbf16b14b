#include "framework/String.h"
#include "framework/StringW.h"

#include <gtest/gtest.h>

// GBK double-byte characters chosen for their second byte, which equals a
// single-byte character the program searches for.
namespace {
const char kDbcsBackslash[] = "\x81\x5C";  // one GBK character ending in 0x5C
const char kDbcsPipe[] = "\x81\x7C";       // one GBK character ending in '|'
const char kDbcsLowerA[] = "\x81\x61";     // one GBK character ending in 'a'
}

TEST(CStringSearch, SecondByteOfDoubleByteCharacterNeverMatchesBackslash)
{
    CString s = CString("C:") + kDbcsBackslash;
    EXPECT_EQ(-1, s.Find('\\'));
    EXPECT_EQ(-1, s.ReverseFind('\\'));
    EXPECT_FALSE(s.EndsWithChar('\\'));

    CString t = CString("C:\\") + kDbcsBackslash + "\\x";
    EXPECT_EQ(2, t.Find('\\'));
    EXPECT_EQ(5, t.ReverseFind('\\'));
    EXPECT_EQ(5, t.Find('\\', 3));
}

TEST(CStringSearch, SubstringMatchesOnlyAtCharacterBoundaries)
{
    // "\x81\x61" holds byte 'a' as its second half; "ab" must not match inside it.
    CString s = CString(kDbcsLowerA) + "b ab";
    EXPECT_EQ(4, s.Find("ab"));
    EXPECT_EQ(-1, CString(kDbcsPipe).Find("|"));
    EXPECT_EQ(0, CString("abc").Find(""));
    EXPECT_EQ(-1, CString("ab").Find("abc"));
    EXPECT_EQ(-1, CString("abc").Find("c", 5));
    EXPECT_EQ(2, CString("abc").Find("c", 1));
}

TEST(CStringCase, OnlySingleByteLettersChange)
{
    CString s = CString("c:\\tools\\") + kDbcsLowerA + "x扩展";
    CString upper = s;
    upper.MakeUpper();
    EXPECT_STREQ((CString("C:\\TOOLS\\") + kDbcsLowerA + "X扩展").GetString(), upper.GetString());
    CString lower("ABC\x81\x41Z");
    lower.MakeLower();
    EXPECT_STREQ("abc\x81\x41z", lower.GetString());
}

TEST(CStringCase, CompareNoCase)
{
    EXPECT_EQ(0, CString("SetUp.EXE").CompareNoCase("setup.exe"));
    EXPECT_EQ(0, CString("Trabex_EN.shx").CompareNoCase("TRABEX_en.SHX"));
    EXPECT_NE(0, CString("setup.exe").CompareNoCase("setup.ex"));
    // A double-byte character whose second byte is 'a' differs from one ending in 'A'.
    EXPECT_NE(0, CString("\x81\x61").CompareNoCase("\x81\x41"));
    EXPECT_LT(CString("a").CompareNoCase("B"), 0);
    EXPECT_GT(CString("b").CompareNoCase("A"), 0);
}

TEST(CStringBasics, ConcatenationSlicingAndFormat)
{
    CString s("C:\\Trabex");
    s += "\\Q-Ostrevo";
    EXPECT_STREQ("C:\\Trabex\\Q-Ostrevo", s.GetString());
    EXPECT_EQ(19, s.GetLength());
    EXPECT_STREQ("C:", s.Left(2).GetString());
    EXPECT_STREQ("Trabex", s.Mid(3, 6).GetString());
    EXPECT_STREQ("Q-Ostrevo", s.Mid(10).GetString());
    EXPECT_STREQ("", s.Mid(40).GetString());
    EXPECT_STREQ("evo", s.Right(3).GetString());
    EXPECT_EQ('T', s[3]);
    s.Delete(s.GetLength() - 1);
    EXPECT_STREQ("C:\\Trabex\\Q-Ostrev", s.GetString());

    CString f;
    f.Format("%s\\Trabex%d.ARX", "D:\\A", 2010);
    EXPECT_STREQ("D:\\A\\Trabex2010.ARX", f.GetString());
    f.Format("%s", std::string(5000, 'x').c_str());
    EXPECT_EQ(5000, f.GetLength());
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
}

TEST(CStringArrayBasics, AppendsInOrder)
{
    CStringArray a;
    EXPECT_EQ(0, a.GetSize());
    EXPECT_EQ(0, a.Add("x"));
    EXPECT_EQ(1, a.Add("y"));
    EXPECT_STREQ("y", a.GetAt(1).GetString());
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
}

TEST(JoinLines, ShowsTheFirstItemsAndAnEllipsisForTheRestInBothKindsOfList)
{
    CStringArray narrow;
    CStringArrayW wide;
    for (const char* item : {"C:\\甲", "C:\\乙", "C:\\丙"}) {
        narrow.Add(item);
        wide.Add(CStringW::FromText(item));
    }
    EXPECT_STREQ("C:\\甲\nC:\\乙\n……\n", JoinLines(narrow, 2).GetString());
    EXPECT_TRUE(JoinLines(wide, 2) == CStringW(L"C:\\\x7532\nC:\\\x4E59\n\x2026\x2026\n"));
    EXPECT_STREQ("C:\\甲\nC:\\乙\nC:\\丙\n", JoinLines(narrow, 3).GetString());
    EXPECT_TRUE(JoinLines(CStringArrayW(), 2).IsEmpty());
}

TEST(CStringWFormatText, TheProgramsFormatWithWideTextsOfAnyLanguage)
{
    // "%s" takes a wide text, as Windows' wide printf reads it; the format is GBK.
    const CStringW line = CStringW::FormatText("已复制：%s（%d）", L"C:\\S\x00F8ren\\\xD55C.arx", 7);
    EXPECT_TRUE(line == CStringW(L"\x5DF2\x590D\x5236\xFF1A" L"C:\\S\x00F8ren\\\xD55C.arx\xFF08" L"7\xFF09"));
    EXPECT_EQ(5000, CStringW::FormatText("%s", CStringW::FromText(std::string(5000, 'x').c_str()).GetString()).GetLength());
}
