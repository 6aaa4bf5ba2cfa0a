// The builder run as a whole, from arguments to the installer file: what it
// puts in, what it refuses, and that a refused or failed build leaves no
// output behind.
#include "tools/pack/pack_run.h"

#include <gtest/gtest.h>

#include <random>

#include "payload/package_texts.h"
#include "tests/pack/pack_test_support.h"
#include "tests/payload/zip_builder.h"
#include "tools/pack/zip_writer.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#endif

namespace pelmora::pack {
namespace {

using testing::openInstaller;
using testing::readFile;
using testing::writeFile;

struct PackResult {
    int status = -1;
    std::string messages;
};

// The fixture's files, by name under source/, and its folders (the empty ones too).
const std::map<std::string, std::string>& sourceFiles() {
    static const std::map<std::string, std::string> files = [] {
        std::mt19937 rng(11);
        std::string noise(100000, '\0');
        for (char& c : noise) c = static_cast<char>(rng());
        return std::map<std::string, std::string>{
            {"bin/app.exe", "MZ the product program"},
            {"data/配置.ini", "[配置]\n标题=1\n"},
            {"data/deep/a/b/深.txt", std::string(200000, 'd')},
            {"Ελληνικά/κείμενο.txt", "γειά"},
            {"Русский/файл с пробелами.txt", "пробел"},
            {"العربية.txt", "نص"},
            {"zero.bin", ""},
            {"noise.bin", noise},
        };
    }();
    return files;
}
const std::set<std::string> kSourceFolders = {"bin/",         "data/",          "data/deep/",
                                              "data/deep/a/", "data/deep/a/b/", "data/empty/",
                                              "Ελληνικά/",    "Русский/",       "空文件夹/"};

class PackRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& [name, bytes] : sourceFiles()) ASSERT_TRUE(writeFile(temp_ / ("source/" + name), bytes));
        std::error_code ec;
        std::filesystem::create_directories(temp_ / "source/data/empty", ec);
        std::filesystem::create_directories(temp_ / "source/空文件夹", ec);
        std::filesystem::create_directories(temp_ / "out", ec);
        ASSERT_TRUE(writeFile(temp_ / "info.txt", "\xEF\xBB\xBFVersion 2.1\n\nAll rights reserved.\n"));
        ASSERT_TRUE(writeFile(temp_ / "bg.png", testing::makePng(500, 300)));
        ASSERT_TRUE(writeFile(temp_ / "app.ico", testing::makeIco(48, true)));
        ASSERT_TRUE(writeFile(temp_ / "stub.exe", testing::fakeStub()));
        writeDescription("");
    }

    // The description, with extra members in front of the usual ones and the
    // given product and texts.
    void writeDescription(
        const std::string& extra,
        const std::string& product = R"({"name": "Corvane Viewer", "version": "2.1", "publisher": "Corvane Works"})",
        const std::string& texts = R"({"install": "Install", "folderNotWritable": "Cannot write to {path}."})") {
        ASSERT_TRUE(writeFile(temp_ / "app.json", "{" + extra + R"(
  "source": "source",
  "stub": "stub.exe",
  "output": "out/Setup.exe",
  "product": )" + product + R"(,
  "program": "bin/app.exe",
  "window": {"information": "info.txt", "background": "bg.png", "icon": "app.ico"},
  "texts": )" + texts + "\n}"));
    }

    PackResult pack(std::vector<std::string> args, const volatile std::sig_atomic_t* interrupted = nullptr) {
        args.insert(args.begin(), displayPath(temp_ / "app.json"));
        RunSettings settings;
        settings.currentFolder = temp_.path();
        settings.stubFolder = temp_.path();
        settings.interrupted = interrupted;
        PackResult run;
        run.status = runPack(args, settings, &run.messages);
        return run;
    }

    NativePath output() const { return temp_ / "out/Setup.exe"; }

    // Nothing in out/ but what a successful build wrote: no partial files.
    void expectNoOutput(const std::string& what) { EXPECT_TRUE(testing::folderNames(temp_ / "out").empty()) << what; }

    testing::TempDir temp_;
};

TEST_F(PackRunTest, InstallerHoldsTheTreeTextsAndPictures) {
    const PackResult run = pack({"--window-title", "Corvane Setup"});
    ASSERT_EQ(run.status, 0) << run.messages;
    const testing::Installer in = openInstaller(output());
    ASSERT_EQ(in.result, package::BlockResult::Ok);
    EXPECT_EQ(in.problem, "");
    EXPECT_EQ(in.files, sourceFiles());
    EXPECT_EQ(in.folders, kSourceFolders);
    EXPECT_EQ(in.background, readFile(temp_ / "bg.png"));
    EXPECT_EQ(in.icon, readFile(temp_ / "app.ico"));
    EXPECT_EQ(in.background2x, "") << "no double picture was given";
    const std::string image = readFile(output());
    EXPECT_EQ(image.substr(0, 1024), testing::fakeStub());

    const std::map<std::string, std::string> expected = {
        {"product.name", "Corvane Viewer"},
        {"product.version", "2.1"},
        {"product.publisher", "Corvane Works"},
        {"product.id", "Corvane Viewer"},
        {"uninstallEntry", "yes"},
        {"program", "bin\\app.exe"},
        {"shortcut", "Corvane Viewer"},
        {"installFolder", "Corvane Viewer"},
        {"defaultFolder", "C:\\Program Files"},
        {"window.title", "Corvane Setup"},
        {"window.heading", "Corvane Viewer“2.1”安装程序"},
        {"information", "Version 2.1\r\n\r\nAll rights reserved.\r\n"},
        {"texts.install", "Install"},
        {"texts.folderNotWritable", "Cannot write to {path}."},
        {"texts.browse", "浏览"},
        {"texts.finish", "退出并启动"},
    };
    for (const auto& [key, value] : expected)
        EXPECT_EQ(in.texts.count(key) ? in.texts.at(key) : "<none>", value) << key;
    std::size_t count = 0;
    package::windowTexts(&count);
    EXPECT_EQ(in.texts.size(), 12 + count);  // every window text is filled in
}

TEST_F(PackRunTest, DoublePictureGoesInItsOwnSection) {
    ASSERT_TRUE(writeFile(temp_ / "bg2x.png", testing::makePng(1000, 600)));
    const PackResult run = pack({"--window-background-2x", "bg2x.png"});
    ASSERT_EQ(run.status, 0) << run.messages;
    const testing::Installer in = openInstaller(output());
    ASSERT_EQ(in.result, package::BlockResult::Ok);
    EXPECT_EQ(in.background, readFile(temp_ / "bg.png"));
    EXPECT_EQ(in.background2x, readFile(temp_ / "bg2x.png"));
}

TEST_F(PackRunTest, SameInputsGiveTheSameInstaller) {
    ASSERT_EQ(pack({}).status, 0);
    const std::string first = readFile(output());
    // Another run, another output name, and a stub that carries an older block.
    ASSERT_TRUE(writeFile(temp_ / "stub.exe", testing::fakeStub(true, first.substr(1024))));
    ASSERT_EQ(pack({"--output", "out/Again.exe"}).status, 0);
    EXPECT_EQ(readFile(temp_ / "out/Again.exe"), first);
}

TEST_F(PackRunTest, AnArchiveAsSourceGivesTheSamePayloadAsItsFolder) {
    ASSERT_EQ(pack({}).status, 0);
    const testing::Installer fromFolder = openInstaller(output());
    ASSERT_TRUE(writeFile(temp_ / "payload.zip", fromFolder.archive));
    ASSERT_EQ(pack({"--source", "payload.zip", "--output", "out/FromZip.exe"}).status, 0);
    EXPECT_EQ(openInstaller(temp_ / "out/FromZip.exe").archive, fromFolder.archive);
}

// Archives from other tools name entries in code page 936, may leave out
// folder entries and lead with "./": the installer gets UTF-8 names and
// every folder.
TEST_F(PackRunTest, ArchiveNamesAreDecodedAndFoldersFilledIn) {
    pelmora::testing::TestEntry program("./bin/app.exe", "x"), icon("tubiao/\xCD\xBC\xB1\xEA.ico", "x");  // 图标.ico
    ASSERT_TRUE(writeFile(temp_ / "gbk.zip", pelmora::testing::buildZip({program, icon}).bytes));
    const PackResult run = pack({"--source", "gbk.zip"});
    ASSERT_EQ(run.status, 0) << run.messages;
    const testing::Installer in = openInstaller(output());
    EXPECT_EQ(in.files, (std::map<std::string, std::string>{{"bin/app.exe", "x"}, {"tubiao/图标.ico", "x"}}));
    EXPECT_EQ(in.folders, (std::set<std::string>{"bin/", "tubiao/"}));
}

// A source archive with one hostile or unusable entry.
std::string archiveWith(const std::string& name, const std::string& data = "x") {
    pelmora::testing::TestEntry entry(name, data, false);
    entry.flags = 0x0800;
    return pelmora::testing::buildZip({entry}).bytes;
}

TEST_F(PackRunTest, BadInputsGetTheirMessageAndStatusAndNoOutput) {
    struct Case {
        const char* what;
        std::vector<std::string> args;
        int status;
        std::string message;
        std::function<void()> prepare = nullptr;
    };
    const std::vector<Case> cases = {
        {"missing folder", {"--source", "nowhere"}, 3, "source: the source folder does not exist: "},
        {"program not inside",
         {"--program", "bin/other.exe"},
         3,
         "program: \"bin/other.exe\" is not a file inside the source"},
        {"program is a folder", {"--program", "data"}, 3, "program: \"data\" is not a file inside the source"},
        {"program outside", {"--program", "../stub.exe"}, 3, "must be a path inside the source"},
        {"picture of another size",
         {"--window-background", "big.png"},
         3,
         "the picture is 640 x 480 pixels; the window needs 500 x 300",
         [&] { writeFile(temp_ / "big.png", testing::makePng(640, 480)); }},
        {"picture not a PNG", {"--window-background", "app.ico"}, 3, "app.ico: not a PNG file"},
        {"double picture of the single size",
         {"--window-background-2x", "bg.png"},
         3,
         "window.background2x: " + displayPath(temp_ / "bg.png") +
             ": the picture is 500 x 300 pixels; the window needs 1000 x 600"},
        {"double picture without the single one",
         {"--window-background-2x", "bg2x.png"},
         3,
         "window.background2x: is the window picture at twice the size; give window.background too",
         [&] {
             writeFile(temp_ / "bg2x.png", testing::makePng(1000, 600));
             std::string description = readFile(temp_ / "app.json");
             const std::string given = "\"background\": \"bg.png\", ";
             description.erase(description.find(given), given.size());
             writeFile(temp_ / "app.json", description);
         }},
        {"icon not an ICO", {"--window-icon", "bg.png"}, 3, "bg.png: not an ICO file"},
        {"missing picture", {"--window-icon", "none.ico"}, 3, "window.icon: no such file: "},
        {"information not UTF-8",
         {},
         3,
         "window.information: the text is not valid UTF-8, so it cannot be encoded for Windows",
         [&] { writeFile(temp_ / "info.txt", "caf\xE9"); }},
        {"text with a lone surrogate",
         {},
         2,
         "a \\u escape leaves a surrogate without its pair",
         [&] {
             writeDescription("", R"({"name": "N", "version": "1", "publisher": "P"})", R"({"install": "\ud800"})");
         }},
        {"translation without its placeholder",
         {"--text", "folderNotWritable=Cannot write."},
         3,
         "texts.folderNotWritable: the text must hold {path} exactly once"},
        {"one-line text over two lines", {"--text", "install=Inst\nall"}, 3, "the text must be one line"},
        {"output inside the source", {"--output", "source/Setup.exe"}, 3, "lies inside the source"},
        {"output over an input", {"--output", "info.txt"}, 3, "would overwrite the window.information input"},
        {"output folder missing", {"--output", "none/Setup.exe"}, 3, "output: the folder "},
        {"stub that is no stub",
         {"--stub", "plain.exe"},
         3,
         "a Windows program, but not an installer stub",
         [&] { writeFile(temp_ / "plain.exe", testing::fakeStub(false)); }},
        {"stub missing", {"--stub", "none.exe"}, 3, "stub: cannot read the installer stub "},
        {"name climbing out",
         {"--source", "bad.zip"},
         3,
         "entry \"../evil.txt\" would land outside the product folder",
         [&] { writeFile(temp_ / "bad.zip", archiveWith("../evil.txt")); }},
        {"stream name",
         {"--source", "bad.zip"},
         3,
         "refuse the name \"a:b.txt\": drive letter or stream name",
         [&] { writeFile(temp_ / "bad.zip", archiveWith("a:b.txt")); }},
        {"device name",
         {"--source", "bad.zip"},
         3,
         "refuse the name \"aux.txt\": reserved device name",
         [&] { writeFile(temp_ / "bad.zip", archiveWith("aux.txt")); }},
        {"name too long for Windows",
         {"--source", "bad.zip"},
         3,
         "path too long for Windows",
         [&] { writeFile(temp_ / "bad.zip", archiveWith(std::string(120, 'a') + "/" + std::string(120, 'b'))); }},
        {"trailing dot",
         {"--source", "bad.zip"},
         3,
         "ends a part in a dot or space",
         [&] { writeFile(temp_ / "bad.zip", archiveWith("bin./app.exe")); }},
        {"damaged archive entry",
         {"--source", "bad.zip", "--program", "a.txt"},
         1,
         "the archive entry a.txt cannot be read: entry data does not match its size or CRC-32",
         [&] {
             pelmora::testing::TestEntry entry("a.txt", "data", false);
             entry.crc = 0x12345678;  // the stored data differs from its CRC
             writeFile(temp_ / "bad.zip", pelmora::testing::buildZip({entry}).bytes);
         }},
        {"description over the size limit",
         {},
         2,
         "app.json is larger than 1048576 bytes, the most a description file may hold",
         [&] { writeFile(temp_ / "app.json", "{" + std::string(1 << 20, ' ') + "}"); }},
        {"unknown key", {}, 2, "app.json:1:2: unknown key \"colour\"", [&] { writeDescription(R"("colour": 1,)"); }},
        {"misspelt text",
         {},
         2,
         "app.json:8:13: unknown text \"instal\"",
         [&] { writeDescription("", R"({"name": "N", "version": "1", "publisher": "P"})", R"({"instal": "x"})"); }},
        {"number for a string",
         {},
         2,
         "\"product.version\" must be a string, not a number",
         [&] { writeDescription("", R"({"name": "N", "version": 1, "publisher": "P"})"); }},
        {"unknown option", {"--colour", "red"}, 2, "unknown option --colour"},
        {"unknown text", {"--text", "cancelled=No"}, 2, "--text needs KEY=VALUE with a known key"},
        {"missing setting",
         {},
         2,
         "missing product.publisher (--product-publisher",
         [&] { writeDescription("", R"({"name": "N", "version": "1"})"); }},
        {"compression out of range", {"--compression", "12"}, 3, "compression: the level must be 0 (store) to 9"},
        {"product id with a backslash",
         {"--product-id", "Corvane\\Viewer"},
         3,
         "product.id: \"Corvane\\Viewer\": an id is 1 to 255 characters without a backslash"},
        {"entry neither yes nor no", {"--uninstall-entry", "maybe"}, 3, "uninstallEntry: \"maybe\" must be yes or no"},
    };
    for (const Case& c : cases) {
        SetUp();
        if (c.prepare) c.prepare();
        const PackResult run = pack(c.args);
        EXPECT_EQ(run.status, c.status) << c.what << "\n" << run.messages;
        EXPECT_NE(run.messages.find(c.message), std::string::npos) << c.what << "\n" << run.messages;
        expectNoOutput(c.what);
    }
}

// Two names Windows takes for one file, whatever their letters: the
// installer would write both into one file. From an archive, so the same
// names reach the builder on Linux and on Windows.
TEST_F(PackRunTest, NamesThatAreOneFileOnWindowsAreRefused) {
    const struct {
        const char *first, *second;
        const char* message;  // empty: both are packed
    } cases[] = {
        {"README.txt", "readme.txt", "\"README.txt\" and \"readme.txt\" differ only in case"},
        {"Ä.txt", "ä.txt", "\"Ä.txt\" and \"ä.txt\" differ only in case"},
        {"Σ.txt", "σ.txt", "\"Σ.txt\" and \"σ.txt\" differ only in case"},
        {"data/ÿ.ini", "data/Ÿ.ini", "\"data/ÿ.ini\" and \"data/Ÿ.ini\" differ only in case"},
        {"ΣΟΦΙΑ/a.txt", "σοφια/b.txt", "\"ΣΟΦΙΑ/\" and \"σοφια/\" differ only in case"},
        {"ｗｉｄｅ.txt", "ＷＩＤＥ.txt", "\"ＷＩＤＥ.txt\" and \"ｗｉｄｅ.txt\" differ only in case"},
        // Windows maps one code unit to one: no "SS" for "ß", no normalisation.
        {"straße.txt", "STRASSE.txt", ""},
        {"é.txt", "e\u0301.txt", ""},
    };
    for (const auto& c : cases) {
        SetUp();
        std::vector<pelmora::testing::TestEntry> entries = {{"app.exe", "MZ"}, {c.first, "1"}, {c.second, "2"}};
        for (auto& e : entries) e.flags = 0x0800;
        ASSERT_TRUE(writeFile(temp_ / "names.zip", pelmora::testing::buildZip(entries).bytes));
        const PackResult run = pack({"--source", "names.zip", "--program", "app.exe"});
        if (*c.message) {
            EXPECT_EQ(run.status, 3) << c.first << "\n" << run.messages;
            EXPECT_NE(run.messages.find(c.message), std::string::npos) << c.first << "\n" << run.messages;
            expectNoOutput(c.first);
        } else {
            EXPECT_EQ(run.status, 0) << c.first << "\n" << run.messages;
            EXPECT_EQ(openInstaller(output()).files.size(), 3u) << c.first;
            removeFile(output());
        }
    }
}

// A name of 300,000 characters, wherever it is given, is shown by its two
// ends: the messages stay a few lines, not megabytes.
TEST_F(PackRunTest, MessagesShortenLongNames) {
    auto repeat = [](const std::string& piece, std::size_t times) {
        std::string out;
        for (std::size_t i = 0; i < times; ++i) out += piece;
        return out;
    };
    const std::string head = repeat("Ж", 60), tail = repeat("語", 20);
    const std::string name = repeat("Ж", 100) + std::string(299800, 'm') + repeat("語", 100);
    const struct {
        const char* what;
        std::vector<std::string> args;
        // False when the value shown has something in front ("--", a folder),
        // so that only its end is certain.
        bool startsTheValue;
        std::function<void()> prepare = nullptr;
    } cases[] = {
        {"program", {"--program", name}, true},
        {"program outside", {"--program", "../" + name}, false},
        {"install folder", {"--install-folder", name}, true},
        {"shortcut", {"--shortcut", name}, true},
        {"default folder", {"--default-folder", "C:\\" + name}, false},
        {"timestamp", {"--timestamp", name}, true},
        {"compression", {"--compression", name}, true},
        {"text key", {"--text", name}, true},
        {"unknown option", {"--" + name, "x"}, false},
        {"second description file", {name}, true},
        {"source", {"--source", name}, false},
        {"output", {"--output", "out/" + name}, false},
        {"output folder", {"--output", name + "/Setup.exe"}, false},
        {"description key", {}, true, [&] { writeDescription("\"" + name + "\": 1,"); }},
        {"archive entry",
         {"--source", "long.zip", "--program", "app.exe"},
         true,
         [&] {
             // A ZIP name holds at most 65,535 bytes.
             const std::string entry = repeat("Ж", 100) + std::string(30000, 'm') + repeat("語", 100);
             std::vector<pelmora::testing::TestEntry> entries = {{"app.exe", "MZ"}, {entry, "x"}};
             for (auto& e : entries) e.flags = 0x0800;
             writeFile(temp_ / "long.zip", pelmora::testing::buildZip(entries).bytes);
         }},
    };
    for (const auto& c : cases) {
        SetUp();
        if (c.prepare) c.prepare();
        const PackResult run = pack(c.args);
        EXPECT_NE(run.status, 0) << c.what;
        EXPECT_LT(run.messages.size(), 2000u) << c.what << "\n" << run.messages.substr(0, 2000);
        const std::string shown = (c.startsTheValue ? head : "") + "…" + tail;
        EXPECT_NE(run.messages.find(shown), std::string::npos) << c.what << "\n" << run.messages.substr(0, 2000);
        expectNoOutput(c.what);
    }
}

TEST_F(PackRunTest, InterruptedBuildLeavesNothing) {
    volatile std::sig_atomic_t interrupted = 1;
    const PackResult run = pack({}, &interrupted);
    EXPECT_EQ(run.status, 130);
    EXPECT_EQ(run.messages, "pack: interrupted; no installer was written\n");
    expectNoOutput("interrupted");
}

// A file that can be listed but not read: the build stops with its name and
// leaves nothing.
TEST_F(PackRunTest, UnreadableFileStopsTheBuild) {
#ifdef _WIN32
    // Held open without sharing by another handle.
    const std::wstring locked = (temp_ / "source/data/配置.ini").wstring();
    HANDLE h = ::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const PackResult run = pack({});
    ::CloseHandle(h);
    EXPECT_EQ(run.status, 3) << run.messages;
#else
    // As root every permission is granted, but the kernel still refuses to
    // read this one at offset 0.
    std::error_code ec;
    std::filesystem::create_symlink("/proc/self/mem", temp_ / "source/data/memory", ec);
    ASSERT_FALSE(ec);
    const PackResult run = pack({});
    EXPECT_EQ(run.status, 1) << run.messages;
#endif
    EXPECT_NE(run.messages.find("cannot read "), std::string::npos) << run.messages;
    expectNoOutput("unreadable file");
}

#ifndef _WIN32
// Names that Linux allows and Windows does not, straight from a folder.
TEST_F(PackRunTest, FolderNamesWindowsRefuses) {
    const struct {
        std::string name, message;
    } cases[] = {
        {"CON.txt", "reserved device name"},
        {"a:b", "drive letter or stream name"},
        {"what?", "character not allowed in file names"},
        {"ends.", "ends a part in a dot or space"},
        {"\xFF\xFE.txt", "cannot be encoded as Unicode"},
        // Windows takes a backslash for a folder separator: folder a, file b.
        {"a\\b", "source/a\\b holds a backslash, which Windows takes for a folder separator"},
        {"bin\\app.exe", "source/bin\\app.exe holds a backslash"},
    };
    for (const auto& c : cases) {
        SetUp();
        NativePath bad = temp_.path() / "source" / NativePath(c.name);
        ASSERT_TRUE(writeFile(bad, "x"));
        const PackResult run = pack({});
        EXPECT_EQ(run.status, 3) << c.name << run.messages;
        EXPECT_NE(run.messages.find(c.message), std::string::npos) << c.name << run.messages;
        expectNoOutput(c.name);
        removeFile(bad);
    }
    // Two names Windows takes for one.
    ASSERT_TRUE(writeFile(temp_ / "source/bin/APP.exe", "x"));
    const PackResult run = pack({});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.messages.find("\"bin/APP.exe\" and \"bin/app.exe\" differ only in case"), std::string::npos)
        << run.messages;
}
#endif

#ifndef _WIN32
// Links the builder does not pack, each with what is wrong with it.
TEST_F(PackRunTest, LinksThatCannotBePackedAreNamed) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links;  // under source/: name, target
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {"link to itself", {{"loop", "loop"}}, {}, "the link loops back on itself: "},
        {"two links to each other", {{"x", "y"}, {"y", "x"}}, {}, "the link loops back on itself: "},
        {"link to nothing", {{"gone", "missing.txt"}}, {}, "the link leads nowhere: "},
        {"link to a folder", {{"up", ".."}}, {}, "a link to a folder is not followed: "},
        {"source that loops",
         {{"self", "self"}},
         {"--source", "source/self"},
         "the source is a link that loops back on itself: "},
    };
    for (const auto& c : cases) {
        SetUp();
        for (const auto& [name, target] : c.links) {
            std::error_code ec;
            std::filesystem::create_symlink(target, temp_ / ("source/" + name), ec);
            ASSERT_FALSE(ec) << c.what;
        }
        const PackResult run = pack(c.args);
        EXPECT_EQ(run.status, 3) << c.what << "\n" << run.messages;
        const std::string first = displayPath(temp_ / ("source/" + c.links[0].first));
        EXPECT_NE(run.messages.find(c.message + first), std::string::npos) << c.what << "\n" << run.messages;
        expectNoOutput(c.what);
        for (const auto& link : c.links) removeFile(temp_ / ("source/" + link.first));
    }
}

// Files may grow to `bytes` only while this lives: writing past it fails as
// on a full disk (EFBIG rather than ENOSPC), without filling one.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);  // else the signal ends the process
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

// A failed write says why, in the system's words.
TEST_F(PackRunTest, WriteFailuresSayWhy) {
    // sysfs takes no new files, not even from root; the reason is what the
    // system says when the test tries the same.
    const int made = ::open("/sys/pack-test-probe", O_WRONLY | O_CREAT | O_EXCL, 0644);
    const std::string sysReason = std::strerror(errno);
    ASSERT_EQ(made, -1) << "/sys took a new file";
    const std::string tooLarge = std::strerror(EFBIG);
    std::mt19937 rng(5);
    std::string noise(2 << 20, '\0');  // beyond what the writer keeps in memory, and incompressible
    for (char& c : noise) c = static_cast<char>(rng());
    const struct {
        const char* what;
        std::vector<std::string> args;
        std::string message;
        rlim_t limit;  // 0: none
    } cases[] = {
        {"output folder that takes no files",
         {"--output", "/sys/Setup.exe"},
         "cannot create a file beside /sys/Setup.exe: " + sysReason,
         0},
        {"full while the archive is written", {}, "cannot write the output file: " + tooLarge, 64 << 10},
        {"full when the file is closed", {"--source", "small"}, "Setup.exe.partial-", 64 << 10},
    };
    for (const auto& c : cases) {
        SetUp();
        ASSERT_TRUE(writeFile(temp_ / "source/big.bin", noise));
        ASSERT_TRUE(writeFile(temp_ / "small/bin/app.exe", std::string(200 << 10, 'x')));
        PackResult run;
        if (c.limit) {
            FileSizeLimit limit(c.limit);
            run = pack(c.args);
        } else {
            run = pack(c.args);
        }
        EXPECT_EQ(run.status, 1) << c.what << "\n" << run.messages;
        EXPECT_NE(run.messages.find(c.message), std::string::npos) << c.what << "\n" << run.messages;
        if (c.limit) {
            EXPECT_NE(run.messages.find(": " + tooLarge + "; no installer was written"), std::string::npos)
                << c.what << "\n"
                << run.messages;
        }
        expectNoOutput(c.what);
    }
}
#endif

}  // namespace
}  // namespace pelmora::pack
