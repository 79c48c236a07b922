// The tray application's clipboard under a real X display: text put from a worker thread
// lands on the system clipboard, where another program reads it back.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <atomic>
#include <thread>

#include "app/QtClipboard.h"
#include "support/Process.h"

namespace tavrino::app {
namespace {

TEST(QtClipboard, TextFromAWorkerReachesTheSystemClipboard) {
    QtClipboard clipboard;
    const std::string text = "안녕하세요\nHello 2026";
    std::thread worker([&] { clipboard.putText(text); });
    worker.join();
    QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::clipboard()->text(), QString::fromStdString(text),
                              5000);
    if (!test::haveProgram("xclip")) GTEST_SKIP() << "xclip is not installed";
    // xclip blocks the event loop's owner only briefly; serve its request meanwhile.
    std::string read;
    std::thread reader([&] {
        read = test::runProgram({"xclip", "-o", "-selection", "clipboard"}).out;
    });
    for (int i = 0; i < 200 && read.empty(); ++i)
        QTest::qWait(10);
    reader.join();
    EXPECT_EQ(read, text);
}

}  // namespace
}  // namespace tavrino::app
