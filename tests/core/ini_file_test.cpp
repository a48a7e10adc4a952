#include "launcher/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "launcher/language_choice.h"
#include "test_util.h"

namespace quorim {
namespace {

using test::ReadText;
using test::TempDir;
using test::WriteText;

// A file with everything the reader must sort out.
const char* const kSample =
    "; launcher settings\r\n"
    "top = head value\r\n"
    "\r\n"
    "[MAIN]\r\n"
    "   LANGUAGE =  ENGLISH   \r\n"
    "# not a comment\r\n"
    "// a comment\r\n"
    "\\ a comment\r\n"
    "* a comment\r\n"
    "=no key\r\n"
    "Path = C:\\x // remark\r\n"
    "Url=http://host/a\r\n"
    "Tab=one\t; two\r\n"
    "Block=a /* b */\r\n"
    "Eq = a = b\r\n"
    "bare\r\n";

TEST(IniRead, KeepsKeysAndValuesAndDropsCommentsAndBlanks) {
    TempDir dir;
    const std::string path = dir.File("t.ini");
    WriteText(path, kSample);
    CIniFile ini(4);
    ASSERT_TRUE(ini.Load(path, false, true, false));
    EXPECT_EQ(ini.GetString("", "top", "-"), "head value");
    EXPECT_EQ(ini.GetString("MAIN", "LANGUAGE", "-"), "ENGLISH");
    EXPECT_EQ(ini.GetString("MAIN", "# not a comment", "-"), "");
    EXPECT_EQ(ini.GetString("MAIN", "Eq", "-"), "a = b");
    EXPECT_EQ(ini.GetString("MAIN", "bare", "-"), "");
    EXPECT_EQ(ini.WrittenText(),
              "top=head value\n[MAIN]\nLANGUAGE=ENGLISH\n# not a comment=\nPath=C:\\x // remark\n"
              "Url=http://host/a\nTab=one\t; two\nBlock=a /* b */\nEq=a = b\nbare=\n");
    EXPECT_FALSE(ini.IsModified());
}

TEST(IniLookup, CutsRemarksAndAppliesTheDefaultRules) {
    TempDir dir;
    const std::string path = dir.File("t.ini");
    WriteText(path, kSample);
    CIniFile ini(4);
    ASSERT_TRUE(ini.Load(path, false, true, false));
    // The blank before "//" stays; "//" cuts even inside an address.
    EXPECT_EQ(ini.GetString("MAIN", "Path", ""), "C:\\x ");
    EXPECT_EQ(ini.GetString("MAIN", "Url", ""), "http:");
    EXPECT_EQ(ini.GetString("MAIN", "Tab", ""), "one");
    EXPECT_EQ(ini.GetString("MAIN", "Block", ""), "a ");
    // Missing section: the default as given; missing key: trimmed.
    EXPECT_EQ(ini.GetString("NONE", "LANGUAGE", "  dflt  "), "  dflt  ");
    EXPECT_EQ(ini.GetString("MAIN", "NONE", "  dflt  "), "dflt");
}

TEST(IniCaseRule, IgnoreCaseFindsAnyCaseAndExactDoesNot) {
    TempDir dir;
    const std::string path = dir.File("t.ini");
    WriteText(path, "[MAIN]\nLANGUAGE = ENGLISH\n");
    CIniFile folding(4);
    ASSERT_TRUE(folding.Load(path, false, true, false));
    EXPECT_EQ(folding.GetString("main", "language", "x"), "ENGLISH");
    CIniFile exact(4);
    ASSERT_TRUE(exact.Load(path, false, false, false));
    EXPECT_EQ(exact.GetString("main", "language", "x"), "x");
    EXPECT_EQ(exact.GetString("MAIN", "LANGUAGE", "x"), "ENGLISH");
}

TEST(IniCaseRule, DoubleByteCharactersAreNeverFolded) {
    CIniFile ini(4);
    // 0x81 0x41 and 0x81 0x61 are two different characters of code page 936,
    // although their trail bytes are "A" and "a".
    EXPECT_NE(ini.CompareNames("\x81\x41", "\x81\x61"), 0);
    EXPECT_NE(ini.CompareNames("\xB0\x41", "\xB0\x61"), 0);
    // ASCII letters after a double-byte character still fold.
    EXPECT_EQ(ini.CompareNames("\xB0\x41Key", "\xB0\x41kEY"), 0);
    EXPECT_EQ(ini.CompareNames("AbC", "aBc"), 0);
    EXPECT_NE(ini.CompareNames("abc", "abcd"), 0);
    EXPECT_NE(ini.CompareNames("abc", "ab"), 0);
    // A lead byte at the very end does not read past the text.
    EXPECT_NE(ini.CompareNames("a\x81", "a"), 0);
    EXPECT_EQ(ini.CompareNames("a\x81", "A\x81"), 0);

    TempDir dir;
    const std::string path = dir.File("t.ini");
    WriteText(path, "[\xD6\x41]\nk=1\n");
    ASSERT_TRUE(ini.Load(path, false, true, false));
    EXPECT_EQ(ini.GetString("\xD6\x41", "K", "none"), "1");
    EXPECT_EQ(ini.GetString("\xD6\x61", "K", "none"), "none");
}

TEST(IniSections, DuplicateNamesUseTheFirstAndKeepBoth) {
    TempDir dir;
    const std::string path = dir.File("t.ini");
    WriteText(path, "[A]\nk=first\nk=last\n[B]\nx=1\n[a]\nk=second section\n");
    {
        CIniFile ini(1);  // grows by one slot at a time
        ASSERT_TRUE(ini.Load(path, true, true, false));
        EXPECT_EQ(ini.GetString("A", "k", ""), "last");
        EXPECT_EQ(ini.FindSection("a"), 1);
        ini.SetString("a", "new", "v");
    }
    EXPECT_EQ(ReadText(path), "[A]\nk=first\nk=last\nnew=v\n[B]\nx=1\n[a]\nk=second section\n");
}

TEST(IniSections, EmptyHeaderOpensANamelessSectionWrittenWithoutHeader) {
    TempDir dir;
    const std::string path = dir.File("t.ini");
    WriteText(path, "h=0\n[A]\na=1\n[]\nb=2\n[ spaced ]\nc=3\n");
    {
        CIniFile ini(4);
        ASSERT_TRUE(ini.Load(path, true, true, false));
        EXPECT_EQ(ini.GetString("", "b", "-"), "-");  // the head section comes first
        EXPECT_EQ(ini.GetString(" spaced ", "c", "-"), "3");
        ini.SetString("A", "a", "changed");
    }
    EXPECT_EQ(ReadText(path), "h=0\n[A]\na=changed\nb=2\n[ spaced ]\nc=3\n");
}

TEST(IniWriteBack, UnchangedStoreLeavesTheFileByteForByte) {
    TempDir dir;
    const std::string path = dir.File("t.ini");
    WriteText(path, kSample);
    {
        CIniFile ini(4);
        ASSERT_TRUE(ini.Load(path, true, true, true));
        EXPECT_EQ(ini.GetString("MAIN", "LANGUAGE", ""), "ENGLISH");
        ini.SetString("MAIN", "LANGUAGE", "english");  // a change of case alone
        EXPECT_FALSE(ini.IsModified());
        EXPECT_EQ(ini.GetString("MAIN", "LANGUAGE", ""), "english");  // kept in memory
    }
    EXPECT_EQ(ReadText(path), kSample);
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()),
        1);  // no backup either
}

TEST(IniWriteBack, OneChangeRewritesTheWholeFileWithoutComments) {
    TempDir dir;
    const std::string path = dir.File("t.ini");
    WriteText(path, "; remark\n\n[MAIN]\nLANGUAGE = CHINESE\n\n[Other]\nx = 1 // note\n");
    {
        CIniFile ini(4);
        ASSERT_TRUE(ini.Load(path, true, true, false));
        ini.SetString("MAIN", "LANGUAGE", "ENGLISH");
        ini.SetString("New", "k", "v");
        EXPECT_TRUE(ini.IsModified());
    }
    EXPECT_EQ(ReadText(path), "[MAIN]\nLANGUAGE=ENGLISH\n[Other]\nx=1 // note\n[New]\nk=v\n");
}

TEST(IniWriteBack, OnlyAutoSaveWritesOnDestruction) {
    TempDir dir;
    const std::string path = dir.File("t.ini");
    WriteText(path, "[MAIN]\nLANGUAGE=CHINESE\n");
    {
        CIniFile ini(4);
        ASSERT_TRUE(ini.Load(path, false, true, false));
        ini.SetString("MAIN", "LANGUAGE", "ENGLISH");
    }
    EXPECT_EQ(ReadText(path), "[MAIN]\nLANGUAGE=CHINESE\n");
    {
        CIniFile ini(4);
        ASSERT_TRUE(ini.Load(path, false, true, false));
        ini.SetString("MAIN", "LANGUAGE", "ENGLISH");
        EXPECT_EQ(ini.Save(false), "");
    }
    EXPECT_EQ(ReadText(path), "[MAIN]\nLANGUAGE=ENGLISH\n");
}

TEST(IniWriteBack, LoadingAnotherFileWritesTheFirstBack) {
    TempDir dir;
    const std::string a = dir.File("a.ini");
    const std::string b = dir.File("b.ini");
    WriteText(a, "[S]\nk=1\n");
    WriteText(b, "[S]\nk=2\n");
    CIniFile ini(4);
    ASSERT_TRUE(ini.Load(a, false, true, true));
    ini.SetString("S", "k", "changed");
    ASSERT_TRUE(ini.Load(b, false, true, false));
    EXPECT_EQ(ReadText(a), "[S]\nk=changed\n");
    EXPECT_FALSE(std::filesystem::exists(a + ".001"));  // that write-back makes no backup
    EXPECT_EQ(ini.GetString("S", "k", ""), "2");
    EXPECT_FALSE(ini.IsModified());
}

TEST(IniBackup, NumbersFollowTheLargestExistingOne) {
    TempDir dir;
    const std::string path = dir.File("Tarvolin.ini");
    WriteText(path, "[MAIN]\nLANGUAGE=CHINESE\n");
    WriteText(dir.File("Tarvolin.exe"), "");   // "exe" counts 0
    WriteText(dir.File("Other.ini.050"), "");  // another name: not counted
    {
        CIniFile ini(4);
        ASSERT_TRUE(ini.Load(path, true, true, true));
        ini.SetString("MAIN", "LANGUAGE", "ENGLISH");
    }
    EXPECT_EQ(ReadText(path + ".001"), "[MAIN]\nLANGUAGE=CHINESE\n");
    EXPECT_EQ(ReadText(path), "[MAIN]\nLANGUAGE=ENGLISH\n");
    {
        CIniFile ini(4);
        ASSERT_TRUE(ini.Load(path, false, true, false));
        ini.SetString("MAIN", "LANGUAGE", "CHINESE");
        EXPECT_EQ(ini.Save(true), path + ".002");
        // The same store keeps its backup name.
        ini.SetString("MAIN", "LANGUAGE", "X");
        EXPECT_EQ(ini.Save(true), path + ".002");
        EXPECT_EQ(ReadText(path + ".002"), "[MAIN]\nLANGUAGE=CHINESE\n");
    }
    EXPECT_EQ(ReadText(path + ".001"), "[MAIN]\nLANGUAGE=CHINESE\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".003"));
}

TEST(IniBinding, MissingFileIsCreatedEmpty) {
    TempDir dir;
    const std::string path = dir.File("new.ini");
    {
        CIniFile ini(4);
        ASSERT_TRUE(ini.Load(path, true, true, false));
        EXPECT_TRUE(ini.IsBound());
        EXPECT_EQ(ini.GetString("MAIN", "LANGUAGE", "d"), "d");
    }
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST(IniBinding, UnopenableFileLeavesTheStoreUnbound) {
    TempDir dir;
    const std::string path = dir.File("no/such/dir/x.ini");
    CIniFile ini(4);
    EXPECT_FALSE(ini.Load(path, true, true, false));
    EXPECT_FALSE(ini.IsBound());
    ini.SetString("MAIN", "LANGUAGE", "ENGLISH");
    EXPECT_FALSE(ini.IsModified());
    EXPECT_EQ(ini.GetString("MAIN", "LANGUAGE", " d "), " d ");
    EXPECT_EQ(ini.Save(false), "");
    EXPECT_FALSE(std::filesystem::exists(dir.File("no")));
}

// An INI file past its limit is not read (at most the limit and one byte)
// and never written back.
TEST(IniBinding, FileOverTheLimitIsNotReadNorWritten) {
    TempDir dir;
    const std::string path = dir.File("big.ini");
    const std::string text = "[MAIN]\nLANGUAGE=ENGLISH\n" + std::string(kMaxIniBytes, ';');
    std::ofstream(path, std::ios::binary) << text;
    CIniFile ini(4);
    EXPECT_FALSE(ini.Load(path, true, true, true));
    EXPECT_FALSE(ini.IsBound());
    ini.SetString("MAIN", "LANGUAGE", "CHINESE");
    EXPECT_EQ(ini.Save(true), "");
    const auto bytes = test::ReadBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), text);
}

// A stream that fails with a read error after handing out some bytes.
class FailingBuf : public std::streambuf {
public:
    FailingBuf(std::string text) : m_text(std::move(text)) {
        setg(m_text.data(), m_text.data(), m_text.data() + m_text.size());
    }

protected:
    int_type underflow() override { throw std::ios_base::failure("read error"); }

private:
    std::string m_text;
};

class StreamLoadingIni : public CIniFile {
public:
    using CIniFile::CIniFile;
    using CIniFile::LoadFromStream;
};

TEST(IniBinding, ReadErrorPartWayFailsAndNeverWritesBack) {
    TempDir dir;
    const std::string path = dir.File("t.ini");
    const std::string original = "[MAIN]\nLANGUAGE=CHINESE\nkept=1\nmore=2\n";
    WriteText(path, original);
    {
        StreamLoadingIni ini(4);
        FailingBuf buf("[MAIN]\nLANGUAGE=CHINESE\nkep");
        std::istream in(&buf);
        EXPECT_FALSE(ini.LoadFromStream(path, in));
        EXPECT_FALSE(ini.IsBound());
        EXPECT_EQ(ini.GetString("MAIN", "LANGUAGE", "d"), "d");
        ini.SetString("MAIN", "LANGUAGE", "ENGLISH");  // ignored
        EXPECT_FALSE(ini.IsModified());
    }
    EXPECT_EQ(ReadText(path), original);

    // A directory in place of the file fails at its first read.
    CIniFile ini(4);
    EXPECT_FALSE(ini.Load(dir.Path().string(), true, true, false));
    EXPECT_FALSE(ini.IsBound());
}

TEST(IniBinding, ProgramDirIsArgv0sDirectoryOrTheCurrentOne) {
    EXPECT_EQ(ProgramDirFromArgv0("/opt/quorim/bin/Tarvolin", "/cwd"), "/opt/quorim/bin");
    EXPECT_EQ(ProgramDirFromArgv0("./Tarvolin", "/cwd"), ".");
    EXPECT_EQ(ProgramDirFromArgv0("Tarvolin", "/cwd"), "/cwd");

    TempDir dir;
    {
        CIniFile ini(4);
        ASSERT_TRUE(ini.LoadFromProgramDir(dir.File("Tarvolin"), "Tarvolin.ini", true, true, false));
        EXPECT_EQ(ini.Path(), dir.File("Tarvolin.ini"));
    }
    EXPECT_TRUE(std::filesystem::exists(dir.File("Tarvolin.ini")));
}

TEST(LauncherChoice, IniFileIsNamedAfterTheLauncher) {
    EXPECT_EQ(LauncherIniFileName("/opt/q/Tarvolin.bin"), "Tarvolin.ini");
    EXPECT_EQ(LauncherIniFileName("/opt/q.d/Tarvolin"), "MAIN.ini");
    EXPECT_EQ(LauncherIniFileName("/opt/q/Tar.volin.exe  \n"), "Tar.volin.ini");
    EXPECT_EQ(LauncherIniFileName("Launcher.exe"), "Launcher.ini");
    EXPECT_EQ(LauncherIniFileName("C:\\Program Files\\Quorim.d\\Tarvolin.exe"), "Tarvolin.ini");
}

TEST(LauncherChoice, LanguageValuesTargetsAndCaptions) {
    EXPECT_EQ(LanguageFromIniValue("ENGLISH"), Language::English);
    EXPECT_EQ(LanguageFromIniValue("english"), Language::Chinese);
    EXPECT_EQ(LanguageFromIniValue(""), Language::Chinese);
    EXPECT_EQ(LanguageFromComboIndex(0), Language::Chinese);
    EXPECT_EQ(LanguageFromComboIndex(1), Language::English);
    EXPECT_EQ(LanguageFromComboIndex(-1), Language::English);
    EXPECT_EQ(TargetProgramOf(Language::Chinese), "tarvolin_CH.DLL");
    EXPECT_EQ(TargetProgramOf(Language::English), "tarvolin_EN.DLL");
    EXPECT_EQ(CaptionsOf(Language::Chinese).label, "语 言 模 式");
    EXPECT_EQ(CaptionsOf(Language::English).cancel, "CANCEL");
    EXPECT_NE(LaunchFailureMessage(Language::English, "tarvolin_EN.DLL").find("tarvolin_EN.DLL"),
              std::string::npos);
}

TEST(LauncherChoice, TargetIsFoundBesideTheLauncherThenOnThePath) {
    namespace fs = std::filesystem;
    TempDir own;
    TempDir onPath;
    auto makeProgram = [](const std::string& p, bool runnable) {
        WriteText(p, "#!/bin/sh\n");
        fs::permissions(p, runnable ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
    };
    const std::string searchPath = "/nonexistent:" + onPath.Path().string();
    EXPECT_EQ(FindTargetProgram(own.Path().string(), "tarvolin_EN.DLL", searchPath), std::nullopt);
    makeProgram(onPath.File("tarvolin_EN.DLL"), true);
    EXPECT_EQ(FindTargetProgram(own.Path().string(), "tarvolin_EN.DLL", searchPath),
              onPath.File("tarvolin_EN.DLL"));
    makeProgram(own.File("tarvolin_EN.DLL"), false);  // not runnable: skipped
    EXPECT_EQ(FindTargetProgram(own.Path().string(), "tarvolin_EN.DLL", searchPath),
              onPath.File("tarvolin_EN.DLL"));
    makeProgram(own.File("tarvolin_EN.DLL"), true);
    EXPECT_EQ(FindTargetProgram(own.Path().string(), "tarvolin_EN.DLL", searchPath),
              own.File("tarvolin_EN.DLL"));
    EXPECT_EQ(FindTargetProgram(own.Path().string(), "tarvolin_EN.DLL", ""), own.File("tarvolin_EN.DLL"));
}

TEST(LauncherChoice, RunsRecordTheChoiceAtTheEnd) {
    TempDir dir;
    const std::string ini = dir.File("MAIN.ini");
    {  // first run, Cancel: an empty file is left behind
        LauncherSettings s;
        EXPECT_TRUE(s.Load(ini));
        EXPECT_EQ(s.InitialLanguage(), Language::Chinese);
    }
    EXPECT_EQ(ReadText(ini), "");
    {  // OK with English
        LauncherSettings s;
        s.Load(ini);
        EXPECT_EQ(s.RecordChoice(1), "tarvolin_EN.DLL");
        EXPECT_EQ(ReadText(ini), "");  // written only at the end
    }
    EXPECT_EQ(ReadText(ini), "[MAIN]\nLANGUAGE=ENGLISH\n");
    {  // the next run opens in English; OK with Chinese
        LauncherSettings s;
        s.Load(ini);
        EXPECT_EQ(s.InitialLanguage(), Language::English);
        EXPECT_EQ(s.RecordChoice(0), "tarvolin_CH.DLL");
    }
    EXPECT_EQ(ReadText(ini), "[MAIN]\nLANGUAGE=CHINESE\n");
    WriteText(ini, "[main]\nlanguage = english\n");
    {
        LauncherSettings s;
        s.Load(ini);
        EXPECT_EQ(s.InitialLanguage(), Language::Chinese);
    }
}

TEST(LauncherChoice, DialogTemplateAndMinimisedIcon) {
    const DialogTemplate& t = LanguageDialogTemplate();
    EXPECT_EQ(t.id, 102);
    EXPECT_EQ(t.cx, 204);
    EXPECT_EQ(t.cy, 116);
    ASSERT_EQ(t.controls.size(), 4u);
    EXPECT_EQ(t.controls[0].kind, ControlKind::DefPushButton);
    EXPECT_EQ(t.controls[0].id, 1);
    EXPECT_EQ(t.controls[3].id, IDC_COMBO_LANGUAGE);
    EXPECT_EQ(t.controls[3].rect, (DlgRect{95, 29, 48, 74}));
    // Half the difference, rounded up.
    EXPECT_EQ(MinimisedIconOrigin(36, 36, 32, 32).x, 2);
    EXPECT_EQ(MinimisedIconOrigin(35, 40, 32, 32).x, 2);
    EXPECT_EQ(MinimisedIconOrigin(35, 40, 32, 32).y, 4);
    EXPECT_EQ(MinimisedIconOrigin(33, 32, 32, 32).x, 1);
}

}  // namespace
}  // namespace quorim
