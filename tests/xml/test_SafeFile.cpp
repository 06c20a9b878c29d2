#include "TestSupport.h"

#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/SafeFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
class SafeFileTest : public ::testing::Test
{
protected:
    std::string PathOf(const std::string& name) const { return temp.File(name).getFullPathName().toStdString(); }

    static mode_t ModeOf(const std::string& path)
    {
        struct stat info {};
        EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
        return info.st_mode;
    }

    // Names in the folder besides `expected`: a save must leave no temporary file.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const juce::File& f : temp.File("").findChildFiles(juce::File::findFilesAndDirectories, false))
            names.push_back(f.getFileName().toStdString());
        std::sort(names.begin(), names.end());
        return names;
    }

    ScopedTempDirectory temp;
};

// Restores the umask a test changed.
struct ScopedUmask
{
    explicit ScopedUmask(mode_t mask) : previous(::umask(mask)) {}
    ~ScopedUmask() { ::umask(previous); }
    mode_t previous;
};
} // namespace

TEST_F(SafeFileTest, OnlyRegularFilesOfBoundedSizeAreRead)
{
    temp.Write("design.xml", "<Root/>");
    ASSERT_EQ(::mkfifo(PathOf("pipe.21w").c_str(), 0600), 0);
    temp.File("folder.21w").createDirectory();
    ASSERT_EQ(::symlink(PathOf("design.xml").c_str(), PathOf("link.21w").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/zero", PathOf("zero.21w").c_str()), 0);
    {
        // Sparse: the size is what counts, not the blocks.
        const int fd = ::open(PathOf("huge.21w").c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(::ftruncate(fd, (off_t) SafeFile::kMaxReadBytes + 1), 0);
        ::close(fd);
    }

    struct Case { const char* name; bool read; const char* error; };
    const Case cases[] = {
        { "design.xml", true, "" },
        { "link.21w", true, "" },
        { "pipe.21w", false, "is not a regular file (it is a FIFO)" },
        { "zero.21w", false, "is not a regular file (it is a device)" },
        { "folder.21w", false, "is not a regular file (it is a folder)" },
        { "huge.21w", false, "is larger than 64 MB" },
        { "missing.21w", false, "cannot be opened (No such file or directory)" },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string content = "unchanged";
        std::string error;
        EXPECT_EQ(SafeFile::ReadRegularFile(PathOf(c.name), content, error), c.read);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(content, c.read ? "<Root/>" : "unchanged");
    }

    // A device given as a design is refused at once instead of read without end.
    CXmlDocument doc;
    doc.Load("/dev/zero");
    EXPECT_FALSE(doc.LastParseSucceeded());
    EXPECT_EQ(doc.LastParseError(), "/dev/zero: is not a regular file (it is a device)");
}

TEST_F(SafeFileTest, SavesNeverFollowAPlantedLinkAndKeepTheMode)
{
    temp.Write("victim.txt", "someone else's file");
    const std::string target = PathOf("design.xml");
    // The name a temporary file once had, planted as a link to another user's file.
    ASSERT_EQ(::symlink(PathOf("victim.txt").c_str(), (target + ".tmp" + std::to_string(::getpid())).c_str()), 0);

    CXmlDocument doc;
    doc.GetRoot("Root")->GetChild("V")->SetInt(1);
    {
        ScopedUmask mask(022);
        ASSERT_TRUE(doc.Save(target)) << doc.LastSaveError();
    }
    EXPECT_EQ(ModeOf(target) & 07777, 0644u) << "a new file gets the usual mode under the umask";
    EXPECT_EQ(temp.Read("victim.txt"), "someone else's file");

    const mode_t modes[] = { 0600, 0640, 0444 };
    for (mode_t mode : modes)
    {
        SCOPED_TRACE(mode);
        ASSERT_EQ(::chmod(target.c_str(), mode), 0);
        doc.GetRoot("Root")->GetChild("V")->SetInt((int) mode);
        ASSERT_TRUE(doc.Save(target)) << doc.LastSaveError();
        EXPECT_EQ(ModeOf(target) & 07777, mode);
        EXPECT_NE(temp.Read("design.xml").find("<V>" + std::to_string(mode) + "</V>"), std::string::npos);
    }
    EXPECT_EQ(Names(), (std::vector<std::string> { "design.xml", "design.xml.tmp" + std::to_string(::getpid()),
                                                   "victim.txt" }));
}

TEST_F(SafeFileTest, TargetsThatAreNotRegularFilesAreRefusedAndKept)
{
    temp.Write("victim.txt", "someone else's file");
    ASSERT_EQ(::symlink(PathOf("victim.txt").c_str(), PathOf("link.xml").c_str()), 0);
    ASSERT_EQ(::mkfifo(PathOf("pipe.xml").c_str(), 0600), 0);
    temp.File("folder.xml").createDirectory();
    const std::vector<std::string> before = Names();

    struct Case { const char* name; const char* error; mode_t kind; };
    const Case cases[] = {
        { "link.xml", "is not a regular file (it is a symbolic link)", S_IFLNK },
        { "pipe.xml", "is not a regular file (it is a FIFO)", S_IFIFO },
        { "folder.xml", "is not a regular file (it is a folder)", S_IFDIR },
        { "no/folder/x.xml", "cannot be written: no temporary file in ", 0 },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(SafeFile::WriteFileAtomically(PathOf(c.name), "<Root/>", error));
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        if (c.kind != 0)
        {
            EXPECT_EQ(ModeOf(PathOf(c.name)) & S_IFMT, c.kind);
        }
    }
    EXPECT_EQ(temp.Read("victim.txt"), "someone else's file");
    EXPECT_EQ(Names(), before) << "nothing replaced, no temporary file left";

    // The wizard writes into devices only by mistake: /dev/null stays a device.
    std::string error;
    EXPECT_FALSE(SafeFile::WriteFileAtomically("/dev/null", "x", error));
    EXPECT_EQ(ModeOf("/dev/null") & S_IFMT, (mode_t) S_IFCHR);
}

TEST_F(SafeFileTest, TheLongestNameAFolderAllowsCanBeSaved)
{
    const std::string name(255, 'n');
    std::string error;
    ASSERT_TRUE(SafeFile::WriteFileAtomically(PathOf(name), "long", error)) << error;
    EXPECT_EQ(temp.Read(name), "long");
    ASSERT_TRUE(SafeFile::WriteFileAtomically(PathOf(name), "longer", error)) << error;
    EXPECT_EQ(temp.Read(name), "longer");
    EXPECT_EQ(Names(), std::vector<std::string> { name });
}
