#include "RunAndWait.h"
#include "DialogWatcher.h"
#include "TestFiles.h"
#include "UserTexts.h"

#include <gtest/gtest.h>

namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

class RunAndWaitTest : public testing::Test {
  protected:
    TempDir dir{"run and wait"};
    const std::string cmdecho = Quoted(TestProgramDir() + "cmdecho.exe");
};

TEST_F(RunAndWaitTest, MissingProgramShowsTheMissingFileBoxAndGivesFalse) {
    const std::string commandLine = Quoted(dir.Path() + "SETUP.EXE");
    DialogWatcher watcher;
    EXPECT_FALSE(RunAndWait(commandLine.c_str()));
    const std::vector<SeenBox> boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, missingFileHeadline + L"\r\n" + Widened(commandLine));
    EXPECT_EQ(boxes[0].caption, L"unit_tests");
    EXPECT_EQ(boxes[0].buttons, std::vector<std::wstring>{L"OK"});
}

TEST_F(RunAndWaitTest, FileThatIsNoProgramShowsTheErrorCodeInDecimal) {
    ASSERT_TRUE(WriteBytes(dir.Path() + "SETUP.EXE", "this is text, not a program"));
    const std::string commandLine = Quoted(dir.Path() + "SETUP.EXE");
    DialogWatcher watcher;
    EXPECT_FALSE(RunAndWait(commandLine.c_str()));
    const std::vector<SeenBox> boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, StartErrorHeadline(193) + L"\r\n" + Widened(commandLine));
}

TEST_F(RunAndWaitTest, WaitsUntilTheProgramHasEnded) {
    const std::string marker = dir.Path() + "ended.txt";
    DialogWatcher watcher;
    EXPECT_TRUE(RunAndWait((cmdecho + " 800 " + Quoted(marker)).c_str()));
    EXPECT_TRUE(Exists(marker)) << "the program leaves the file only as it ends";
    EXPECT_TRUE(watcher.Boxes().empty());
}

TEST_F(RunAndWaitTest, LongCommandLineReachesTheProcessWhole) {
    const std::string marker = dir.Path() + "received.txt";
    const std::string commandLine = cmdecho + " 0 " + Quoted(marker) + " " + std::string(3000, 'x') + " end";
    ASSERT_GT(commandLine.size(), 1023u);
    EXPECT_TRUE(RunAndWait(commandLine.c_str()));
    EXPECT_EQ(ReadBytes(marker).value_or(""), commandLine);
}

TEST_F(RunAndWaitTest, CommandLineTheSystemRefusesTakesTheErrorBoxPath) {
    // Windows takes at most 32767 characters; the box shows the code and a shortened line.
    const std::string commandLine = cmdecho + " 0 " + std::string(40000, 'x');
    DialogWatcher watcher;
    EXPECT_FALSE(RunAndWait(commandLine.c_str()));
    const std::vector<SeenBox> boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind(startErrorWord, 0), 0u) << "starts with the error headline";
    EXPECT_LT(boxes[0].text.size(), 1200u);
}

TEST(StartFailureMessageTest, ShortensOnlyWhatTheBoxShows) {
    const std::string longLine = "\"C:\\" + std::string(2000, 'd') + "\\SETUP.EXE\"";
    const std::wstring message = StartFailureMessage(5, longLine.c_str());
    EXPECT_EQ(message, StartErrorHeadline(5) + L"\r\n" + Widened(longLine.substr(0, 1023)) + L"...");
}

TEST_F(RunAndWaitTest, QuitMessageTakenWhileWaitingIsPostedAgain) {
    PostQuitMessage(7);
    EXPECT_TRUE(RunAndWait(cmdecho.c_str()));
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
}

} // namespace
