// The two bridges between a conversion on a worker thread and the window: questions
// answered on the window's thread while the worker waits, progress reports delivered
// there in order, and the stop request.

#include "conversion/forms/queuedprogress.h"
#include "conversion/forms/uithreaddialogs.h"

#include "common/error.h"
#include "guitest.h"
#include "recording_progress.h"
#include "scripted_dialogs.h"

#include <QElapsedTimer>
#include <QThread>

#include <future>
#include <thread>

namespace zq {
namespace {

using test::ScriptedDialogs;

// Records the thread each message is shown on.
class ThreadNotingDialogs : public ScriptedDialogs {
public:
    Answer message(const Message& m) override {
        threads.push_back(QThread::currentThread());
        if (m.text == "guasto") throw Error(5, "guasto nel dialogo");
        return ScriptedDialogs::message(m);
    }
    std::vector<QThread*> threads;
};

class WorkerBridgeTest : public test::GuiTest {
protected:
    // Runs `work` on another thread while this one keeps handling events.
    template <class F>
    auto onWorker(F work) {
        auto f = std::async(std::launch::async, work);
        QElapsedTimer t;
        t.start();
        while (f.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready && t.elapsed() < 30000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        return f.get();
    }
};

TEST_F(WorkerBridgeTest, AWorkersQuestionIsAnsweredOnTheWindowsThread) {
    ThreadNotingDialogs target;
    target.then(Answer::No).then(Answer::Retry);
    UiThreadDialogs dialogs(target);
    const auto answers = onWorker([&] {
        return std::vector<Answer>{dialogs.message({"Continuo?", "t", Buttons::YesNo, Icon::Question}),
                                   dialogs.message({"errore", "t", Buttons::AbortRetryIgnore, Icon::Critical})};
    });
    EXPECT_EQ(answers, (std::vector<Answer>{Answer::No, Answer::Retry}));
    EXPECT_EQ(target.threads, (std::vector<QThread*>{QThread::currentThread(), QThread::currentThread()}));
    EXPECT_EQ(target.texts(), (std::vector<std::string>{"Continuo?", "errore"}));
}

TEST_F(WorkerBridgeTest, OnTheWindowsOwnThreadTheCallGoesStraightThrough) {
    ThreadNotingDialogs target;
    target.then(Answer::Yes);
    UiThreadDialogs dialogs(target);
    EXPECT_EQ(dialogs.message({"Continuo?", "t", Buttons::YesNo, Icon::Question}), Answer::Yes);
    EXPECT_EQ(target.messages().size(), 1u);
}

TEST_F(WorkerBridgeTest, AFailureWhileShowingReachesTheWorker) {
    ThreadNotingDialogs target;
    UiThreadDialogs dialogs(target);
    const bool thrown = onWorker([&] {
        try {
            dialogs.message({"guasto", "t", Buttons::Ok, Icon::None});
        } catch (const Error& e) {
            return e.number() == 5;
        }
        return false;
    });
    EXPECT_TRUE(thrown);
}

TEST_F(WorkerBridgeTest, DetachedAnswersQuietlySoTheRunWindsDown) {
    ThreadNotingDialogs target;
    UiThreadDialogs dialogs(target);
    dialogs.detach();
    const auto answers = onWorker([&] {
        return std::vector<Answer>{dialogs.message({"q", "", Buttons::YesNo, Icon::Question}),
                                   dialogs.message({"e", "", Buttons::AbortRetryIgnore, Icon::Critical}),
                                   dialogs.message({"o", "", Buttons::Ok, Icon::None}),
                                   dialogs.message({"c", "", Buttons::OkCancel, Icon::None})};
    });
    EXPECT_EQ(answers, (std::vector<Answer>{Answer::No, Answer::Ignore, Answer::Ok, Answer::Cancel}));
    EXPECT_TRUE(target.messages().empty());
}

TEST_F(WorkerBridgeTest, ProgressReportsArriveOnTheWindowsThreadInOrder) {
    test::RecordingProgress target;
    QueuedProgress progress(target);
    onWorker([&] {
        progress.begin("Inizio");
        progress.setRange(3);
        for (long v = 1; v <= 3; ++v) {
            progress.setValue(v);
            progress.setLabel("n " + std::to_string(v));
        }
        progress.end();
        return 0;
    });
    QApplication::processEvents();
    EXPECT_EQ(target.events, (std::vector<std::string>{"begin Inizio", "range 3", "value 1", "label n 1", "value 2",
                                                       "label n 2", "value 3", "label n 3", "end"}));
    for (std::thread::id t : target.threads) EXPECT_EQ(t, std::this_thread::get_id());
}

TEST_F(WorkerBridgeTest, TheStopRequestIsSeenByTheWorkerUntilReset) {
    test::RecordingProgress target;
    QueuedProgress progress(target);
    EXPECT_FALSE(onWorker([&] { return progress.cancelRequested(); }));
    progress.requestCancel();
    EXPECT_TRUE(onWorker([&] { return progress.cancelRequested(); }));
    progress.reset();
    EXPECT_FALSE(progress.cancelRequested());
}

}  // namespace
}  // namespace zq
