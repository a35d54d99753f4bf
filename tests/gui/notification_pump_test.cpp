#include "gui/notification_pump.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace velvasto::gui {
namespace {

TEST(NotificationPumpTest, WhatArrivesWhileHeldRunsAfterTheLastHoldInItsOrder) {
  std::vector<std::string> log;
  NotificationPump pump([&] { log.push_back("notifications"); });
  {
    const NotificationPump::Hold operation(pump);
    pump.Post([&] { log.push_back("a"); });
    pump.WakeFromAnyThread();
    pump.Post([&] { log.push_back("b"); });
    { const NotificationPump::Hold nested(pump); }
    // An event loop inside the operation, as a message box runs one.
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(log.empty());
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return log.size() == 3; }, 5000));
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "notifications"}));
}

TEST(NotificationPumpTest, ATaskThatRunsAnEventLoopDoesNotRunOtherWorkInside) {
  std::vector<std::string> log;
  NotificationPump pump([&] { log.push_back("notifications"); });
  pump.Post([&] {
    log.push_back("task begins");
    pump.WakeFromAnyThread();
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
    log.push_back("task ends");
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return log.size() == 3; }, 5000));
  EXPECT_EQ(log, (std::vector<std::string>{"task begins", "task ends", "notifications"}));
}

TEST(NotificationPumpTest, WakesFromAnotherThreadAreMergedAndTheLastOneIsNeverLost) {
  constexpr int kWakes = 2000;
  std::atomic<int> posted{0};
  int runs = 0;
  int postedWhenLastRun = 0;
  NotificationPump pump([&] {
    ++runs;
    postedWhenLastRun = posted.load();
  });
  const auto wakeFromAnEngineThread = [&] {
    return std::thread([&] {
      for (int i = 0; i < kWakes; ++i) {
        posted.fetch_add(1);
        pump.WakeFromAnyThread();
      }
    });
  };
  // All the wakes come before the window's thread looks: one run takes them all.
  wakeFromAnEngineThread().join();
  EXPECT_TRUE(QTest::qWaitFor([&] { return postedWhenLastRun == kWakes; }, 10000)) << postedWhenLastRun;
  EXPECT_EQ(runs, 1);

  // The window's thread runs while the wakes come: there is always a run after the last one.
  std::thread engine = wakeFromAnEngineThread();
  while (posted.load() < 2 * kWakes) QCoreApplication::processEvents();
  engine.join();
  EXPECT_TRUE(QTest::qWaitFor([&] { return postedWhenLastRun == 2 * kWakes; }, 10000)) << postedWhenLastRun;
}

}  // namespace
}  // namespace velvasto::gui
