#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <utility>

#include "data/FileHandle.h"
#include "tests/common/ScratchFolder.h"
#include "windowlogic/IniFile.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

using test::ReadFileBytes;
using test::ScratchFolder;
using test::WriteFileBytes;

// The error that writing the file raises; the test fails when there is none.
std::optional<SettingsFileError> WriteError(const IniFile& file) {
    try {
        file.UpdateFile();
    } catch (const SettingsFileError& error) {
        return error;
    }
    ADD_FAILURE() << "no error";
    return std::nullopt;
}

TEST(IniFileParse, SectionsKeysAndCaseAreFoundWithoutRegardToCase) {
    const IniFile file = IniFile::FromText("[fenster]\r\n  top = 300 \r\nLEFT=12\r\n");
    EXPECT_EQ(file.ReadInteger("Fenster", "Top", 0), 300);
    EXPECT_EQ(file.ReadInteger("FENSTER", "left", 0), 12);
    EXPECT_EQ(file.ReadString("Fenster", "Top", "x"), "300");
    EXPECT_TRUE(file.SectionExists("FeNsTeR"));
    EXPECT_FALSE(file.SectionExists("Anwendung"));
}

TEST(IniFileParse, LineEndsAreCrLfLfOrCrAndTheLastLineNeedsNone) {
    const IniFile file = IniFile::FromText("[A]\nx=1\ry=2\r\nz=3");
    EXPECT_EQ(file.ReadInteger("A", "x", 0), 1);
    EXPECT_EQ(file.ReadInteger("A", "y", 0), 2);
    EXPECT_EQ(file.ReadInteger("A", "z", 0), 3);
    EXPECT_EQ(file.Text(), "[A]\r\nx=1\r\ny=2\r\nz=3\r\n\r\n");
}

TEST(IniFileParse, SkippedLinesAndLinesWithoutEquals) {
    const IniFile file = IniFile::FromText(
        "before=1\r\n; comment\r\n[ S ]\r\n\r\n  ; indented comment\r\nno equals here\r\nk = a = b \r\n\t\r\n");
    EXPECT_EQ(file.SectionNames(), std::vector<std::string>{"S"});
    EXPECT_EQ(file.ReadString("S", "k", ""), "a = b");
    EXPECT_EQ(file.KeyNames("S"), std::vector<std::string>{"k"});
    EXPECT_EQ(file.Text(), "[S]\r\nno equals here\r\nk=a = b\r\n\r\n");
}

TEST(IniFileParse, DuplicatesAnswerFromTheFirstAndAreKept) {
    IniFile file = IniFile::FromText("[A]\r\nk=1\r\nK=2\r\n[a]\r\nk=3\r\n");
    EXPECT_EQ(file.ReadInteger("A", "k", 0), 1);
    file.WriteInteger("a", "K", 9);
    EXPECT_EQ(file.Text(), "[A]\r\nK=9\r\nK=2\r\n\r\n[a]\r\nk=3\r\n\r\n");
}

TEST(IniFileValues, IntegersInDecimalAndHexadecimal) {
    const IniFile file = IniFile::FromText(
        "[N]\r\na=0x4\r\nb=0X1f\r\nc=-12\r\nd=+7\r\ne=4abc\r\nf=\r\ng=99999999999\r\nh=0x\r\ni=$10\r\nj= 3 \r\n"
        "k=-0x10\r\nl=0x7FFFFFFF\r\nm=0x80000000\r\nn=-0x80000000\r\no=0x1g\r\np=0x 4\r\nq=00x4\r\nr=x4\r\n");
    EXPECT_EQ(file.ReadInteger("N", "a", -1), 4);
    EXPECT_EQ(file.ReadInteger("N", "b", -1), 31);
    EXPECT_EQ(file.ReadInteger("N", "c", -1), -12);
    EXPECT_EQ(file.ReadInteger("N", "d", -1), 7);
    EXPECT_EQ(file.ReadInteger("N", "e", -1), -1);
    EXPECT_EQ(file.ReadInteger("N", "f", -1), -1);
    EXPECT_EQ(file.ReadInteger("N", "g", -1), -1);
    EXPECT_EQ(file.ReadInteger("N", "h", -1), -1);
    EXPECT_EQ(file.ReadInteger("N", "i", -1), -1);  // only "0x" and "0X" mark hexadecimal
    EXPECT_EQ(file.ReadInteger("N", "j", -1), 3);
    EXPECT_EQ(file.ReadInteger("N", "k", -1), -16);
    EXPECT_EQ(file.ReadInteger("N", "l", -1), 2147483647);
    EXPECT_EQ(file.ReadInteger("N", "m", -1), -1);
    EXPECT_EQ(file.ReadInteger("N", "n", -1), -2147483647 - 1);
    EXPECT_EQ(file.ReadInteger("N", "o", -1), -1);
    EXPECT_EQ(file.ReadInteger("N", "p", -1), -1);
    EXPECT_EQ(file.ReadInteger("N", "q", -1), -1);
    EXPECT_EQ(file.ReadInteger("N", "r", -1), -1);
    EXPECT_EQ(file.ReadInteger("N", "missing", 42), 42);
    EXPECT_EQ(file.ReadInteger("Missing", "a", 43), 43);
}

TEST(IniFileValues, BooleansAreIntegers) {
    IniFile file = IniFile::FromText("[B]\r\nzero=0\r\ntwo=2\r\nyes=yes\r\nhex=0x0\r\nneg=-1\r\n");
    EXPECT_FALSE(file.ReadBool("B", "zero", true));
    EXPECT_TRUE(file.ReadBool("B", "two", false));
    EXPECT_TRUE(file.ReadBool("B", "yes", true));
    EXPECT_FALSE(file.ReadBool("B", "yes", false));
    EXPECT_FALSE(file.ReadBool("B", "hex", true));
    EXPECT_TRUE(file.ReadBool("B", "neg", false));
    file.WriteBool("B", "zero", true);
    file.WriteBool("B", "two", false);
    EXPECT_EQ(file.ReadString("B", "zero", ""), "1");
    EXPECT_EQ(file.ReadString("B", "two", ""), "0");
}

TEST(IniFileValues, StringsAreWrittenUnchangedAndMissingDiffersFromEmpty) {
    IniFile file = IniFile::FromText("[Anwendung]\r\nSprache=\r\n");
    EXPECT_EQ(file.ReadString("Anwendung", "Sprache", "de"), "");
    EXPECT_EQ(file.ReadString("Anwendung", "Other", "de"), "de");
    file.WriteString("Anwendung", "Text", "\xE4 x=y");
    EXPECT_EQ(file.ReadString("Anwendung", "Text", ""), "\xE4 x=y");
}

TEST(IniFileWrite, KeysKeepTheirPlaceAndNewOnesGoToTheEnd) {
    IniFile file = IniFile::FromText("[One]\r\na=1\r\nb=2\r\n[Two]\r\nc=3\r\n");
    file.WriteInteger("one", "A", 10);  // the line takes the key as written now
    file.WriteInteger("Two", "d", 4);
    file.WriteInteger("Three", "e", 5);
    EXPECT_EQ(file.Text(), "[One]\r\nA=10\r\nb=2\r\n\r\n[Two]\r\nc=3\r\nd=4\r\n\r\n[Three]\r\ne=5\r\n\r\n");
    EXPECT_EQ(IniFile::FromText("").Text(), "");
}

TEST(IniFileDisk, MissingFileReadsAsEmptyAndNothingIsCreated) {
    ScratchFolder folder;
    const std::string path = folder.File("none.ini");
    const IniFile file(path);
    EXPECT_TRUE(file.SectionNames().empty());
    EXPECT_FALSE(fs::exists(path));
    // A folder in the path that does not exist reads as a missing file too.
    EXPECT_TRUE(IniFile(folder.File("no/such/folder.ini")).SectionNames().empty());
}

TEST(IniFileDisk, FileThatExistsButCannotBeReadRaises) {
    ScratchFolder folder;
    const std::string path = folder.File("dir.ini");
    fs::create_directory(path);
    try {
        IniFile file(path);
        FAIL() << "no error";
    } catch (const SettingsFileError& error) {
        EXPECT_EQ(error.Path(), path);
        EXPECT_TRUE(error.Reading());
        EXPECT_EQ(error.Reason(), std::generic_category().message(EISDIR));
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos);
    }
    if (::geteuid() != 0) {  // the owner's read bit does not stop root
        const std::string locked = folder.File("locked.ini");
        WriteFileBytes(locked, "[A]\r\n");
        fs::permissions(locked, fs::perms::none);
        EXPECT_THROW(IniFile{locked}, SettingsFileError);
    }
}

TEST(IniFileDisk, WritesCrLfTextThroughATemporaryFileRenamedOverTheOld) {
    ScratchFolder folder;
    const std::string path = folder.File("zelk.ini");
    WriteFileBytes(path, "[Keep]\nx=1\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    IniFile file(path);
    file.WriteInteger("New", "y", 2);
    file.UpdateFile();

    EXPECT_EQ(ReadFileBytes(path), "[Keep]\r\nx=1\r\n\r\n[New]\r\ny=2\r\n\r\n");
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);  // a new file took the old one's name
    EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(IniFileDisk, FailedWriteNamesPathAndReasonAndLeavesTheOldFile) {
    ScratchFolder folder;
    // A folder that does not exist: the temporary file cannot be made.
    const std::string nowhere = folder.File("missing/zelk.ini");
    const auto missing = WriteError(IniFile(nowhere));
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->Path(), nowhere);
    EXPECT_FALSE(missing->Reading());
    EXPECT_EQ(missing->Reason(), std::generic_category().message(ENOENT));

    // The rename fails when the name now belongs to a folder; nothing is left behind.
    const std::string path = folder.File("zelk.ini");
    WriteFileBytes(path, "[A]\r\nk=1\r\n");
    IniFile file(path);
    fs::remove(path);
    fs::create_directory(path);
    WriteFileBytes(path + "/inside", "x");
    EXPECT_THROW(file.UpdateFile(), SettingsFileError);
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(IniFileDisk, WriteProtectedFileIsNotReplaced) {
    ScratchFolder folder;
    const std::string path = folder.File("zelk.ini");
    WriteFileBytes(path, "[A]\r\nk=1\r\n");
    // No write permission for anyone: refused also for a user the system lets write anyway.
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    IniFile file(path);
    file.WriteInteger("A", "k", 2);
    const auto error = WriteError(file);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Path(), path);
    EXPECT_FALSE(error->Reading());
    EXPECT_EQ(error->Reason(), std::generic_category().message(EACCES));
    EXPECT_EQ(std::string(error->what()),
              "Settings file " + path + " cannot be written: " + std::generic_category().message(EACCES));
    EXPECT_EQ(ReadFileBytes(path), "[A]\r\nk=1\r\n");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);

    if (::geteuid() != 0) {  // the owner's bits do not stop root
        // Writable for others but not for the owner: this user may not write it.
        fs::permissions(path, fs::perms::owner_read | fs::perms::others_write | fs::perms::others_read);
        EXPECT_THROW(file.UpdateFile(), SettingsFileError);
        EXPECT_EQ(ReadFileBytes(path), "[A]\r\nk=1\r\n");
    }
}

TEST(IniFileDisk, SymbolicLinkIsWrittenThroughAndKept) {
    ScratchFolder folder;
    fs::create_directory(folder.File("real"));
    const std::string target = folder.File("real/settings.ini");
    WriteFileBytes(target, "[A]\r\nk=1\r\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    const std::string path = folder.File("zelk.ini");
    fs::create_symlink("real/settings.ini", path);  // relative to the link's folder

    IniFile file(path);
    file.WriteInteger("A", "k", 2);
    file.UpdateFile();
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(fs::read_symlink(path), "real/settings.ini");
    EXPECT_EQ(ReadFileBytes(target), "[A]\r\nk=2\r\n\r\n");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    // No temporary file is left beside the link or the target.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.File("real")), fs::directory_iterator()), 1);

    // A link to a write-protected file refuses like the file itself.
    fs::permissions(target, fs::perms::owner_read);
    file.WriteInteger("A", "k", 3);
    const auto error = WriteError(file);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Path(), path);
    EXPECT_EQ(error->Reason(), std::generic_category().message(EACCES));
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(ReadFileBytes(target), "[A]\r\nk=2\r\n\r\n");
}

TEST(IniFileDisk, WriteProtectedFolder) {
    ScratchFolder folder;
    const std::string path = folder.File("zelk.ini");
    WriteFileBytes(path, "[A]\r\nk=1\r\n");
    fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(folder.Path().c_str(), W_OK) == 0) {
        // The owner's write bit does not stop root; sysfs refuses new files to everyone.
        if (!fs::is_directory("/sys")) GTEST_SKIP() << "no folder that stays write-protected for this user";
        IniFile file("/sys/zelk.ini");
        file.WriteInteger("A", "k", 2);
        EXPECT_THROW(file.UpdateFile(), SettingsFileError);
        return;
    }
    IniFile file(path);
    file.WriteInteger("A", "k", 2);
    const auto error = WriteError(file);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Reason(), std::generic_category().message(EACCES));
    EXPECT_EQ(ReadFileBytes(path), "[A]\r\nk=1\r\n");
}

TEST(IniFileDisk, OnlyRegularFilesAreReadOrReplaced) {
    ScratchFolder folder;
    const std::string fifo = folder.File("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string zero = folder.File("zero.ini");
    fs::create_symlink("/dev/zero", zero);
    for (const std::string& path : {fifo, zero}) {
        try {
            IniFile file(path);  // must neither block nor fill the memory
            ADD_FAILURE() << path << " was read";
        } catch (const SettingsFileError& error) {
            EXPECT_TRUE(error.Reading());
            EXPECT_EQ(error.Reason(), "Not a regular file");
        }
    }
    // A save through a link to a device refuses and leaves the device in place.
    const std::string device = folder.File("null.ini");
    fs::create_symlink("/dev/null", device);
    try {
        WriteFileAtomically(device, "[A]\r\n");
        ADD_FAILURE() << "the device was replaced";
    } catch (const SettingsFileError& error) {
        EXPECT_FALSE(error.Reading());
        EXPECT_EQ(error.Reason(), "Not a regular file");
    }
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST(IniFileDisk, TemporariesLeftByStoppedSavesAreRemoved) {
    ScratchFolder folder;
    const std::string path = folder.File("zelk.ini");
    WriteFileBytes(path, "[A]\r\nk=1\r\n");
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);  // a process that no longer runs
    const std::string left = path + ".tmp." + std::to_string(child) + ".0";
    const std::string running = path + ".tmp." + std::to_string(::getppid()) + ".0";
    WriteFileBytes(left, "[A]\r\nk=");
    WriteFileBytes(running, "[A]\r\nk=");
    IniFile file(path);
    file.WriteInteger("A", "k", 2);
    file.UpdateFile();
    EXPECT_FALSE(fs::exists(left));
    EXPECT_TRUE(fs::exists(running));  // another program's save may still be going on
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 2);
}

// A settings file that this process may write in a folder that takes no new file from
// it: as root, the saves run as nobody, for whom the file is writable and the folder not.
class FolderWithoutNewFiles {
public:
    explicit FolderWithoutNewFiles(std::string_view bytes) {
        WriteFileBytes(path_, bytes);
        fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                   fs::perms::group_write | fs::perms::others_read | fs::perms::others_write);
        fs::permissions(folder_.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                            fs::perms::others_read | fs::perms::others_exec);
        if (!root_) fs::permissions(folder_.Path(), fs::perms::owner_write, fs::perm_options::remove);
    }

    const std::string& Path() const { return path_; }
    const std::string& Folder() const { return folder_.Path(); }

    // Runs `save` in a child process as that user, and gives its exit status: 0 when it
    // went through, 1 when it raised SettingsFileError, whose text it prints.
    template <typename Save>
    int SaveInChild(const Save& save) const {
        const pid_t child = ::fork();
        if (child < 0) return -1;
        if (child == 0) {
            if (root_ && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
            try {
                save();
            } catch (const SettingsFileError& error) {
                std::fprintf(stderr, "%s\n", error.what());
                ::_exit(1);
            }
            ::_exit(0);
        }
        int status = 0;
        if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
        return WEXITSTATUS(status);
    }

private:
    ScratchFolder folder_;
    std::string path_ = folder_.File("zelk.ini");
    bool root_ = ::geteuid() == 0;
};

TEST(IniFileDisk, FolderThatTakesNoNewFileIsWrittenInPlace) {
    const FolderWithoutNewFiles folder("[A]\r\nk=1\r\nlong=line that makes the old file longer\r\n");
    struct stat before {};
    ASSERT_EQ(::stat(folder.Path().c_str(), &before), 0);
    const int status = folder.SaveInChild([&folder] {
        IniFile file(folder.Path());
        file.WriteInteger("A", "k", 2);
        file.UpdateFile();
    });
    ASSERT_EQ(status, 0);
    EXPECT_EQ(ReadFileBytes(folder.Path()), "[A]\r\nk=2\r\nlong=line that makes the old file longer\r\n\r\n");
    struct stat after {};
    ASSERT_EQ(::stat(folder.Path().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Folder()), fs::directory_iterator()), 1);
}

// A save in place that the file-size limit stops, as the program meets it (SIGXFSZ
// ignored), leaves the old text whole: for a longer text the limit falls between the
// old and the new length, for a shorter one below the new length.
TEST(IniFileDisk, InPlaceSaveStoppedPartWayLeavesTheOldText) {
    const std::string old = "[A]\r\nk=1\r\nlong=line that makes the old file longer\r\n";
    const std::string longer = "[B]\r\nk=2\r\nlong=line that makes the new file longer than the old one\r\n";
    const std::string shorter = "[B]\r\nk=2\r\n";
    for (const auto& [text, limit] : {std::pair{longer, old.size() + 8}, std::pair{shorter, shorter.size() - 3}}) {
        const FolderWithoutNewFiles folder(old);
        const int status = folder.SaveInChild([&folder, &text = text, limit = limit] {
            IgnoreFileSizeSignal();
            const struct rlimit size { limit, RLIM_INFINITY };
            if (::setrlimit(RLIMIT_FSIZE, &size) != 0) ::_exit(3);
            WriteFileAtomically(folder.Path(), text);
        });
        EXPECT_EQ(status, 1) << text.size() << " bytes under a limit of " << limit;
        EXPECT_EQ(ReadFileBytes(folder.Path()), old) << text.size() << " bytes under a limit of " << limit;
    }
}

}  // namespace
}  // namespace zelk
