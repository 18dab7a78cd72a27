// UiKitU.dll unloads while several threads have a popup open and handle no messages (a thread
// that is ending waits for the loader lock, which the unloading thread holds): the unload asks
// each thread within one shared time and then goes on without them. It must never wait for such
// a thread without a limit, whatever the number of threads.
#include <gui_watch.h>
#include <object_counts.h>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>
#include "popup_module.h"

using namespace popup_test;

TEST_F(PopupModule, UnloadingGoesOnWithoutThreadsThatDoNotAnswer) {
    GUI_TEST_REQUIRES_DISPLAY();
    for (int threads : {2, 3}) {
        SCOPED_TRACE(testing::Message() << threads << " threads that do not answer");
        if (!module_) show_ = Load();   // loaded again after the last round's unload
        const ShowFn show = show_;
        ASSERT_TRUE(show);
        const long windowsBefore = counts::WindowsNow();

        win32::unique_handle go(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        std::atomic<int> started{0}, closed{0};
        std::vector<std::thread> busy;
        for (int i = 0; i < threads; ++i) {
            busy.emplace_back([&] {
                HWND h = show(L"Busy", 0, nullptr, 0, 0, 0, FALSE, nullptr);
                ++started;
                WaitForSingleObject(go.get(), 60000);   // busy: no messages meanwhile
                if (h && gui::PumpUntil([&] { return !IsWindow(h); })) ++closed;
            });
        }
        std::atomic<bool> unloaded{false};
        std::thread unloader;
        // However the test ends: the busy threads go on, and every thread is joined.
        auto joinAll = [&] {
            SetEvent(go.get());
            if (unloader.joinable()) unloader.join();
            for (std::thread& t : busy) t.join();
            busy.clear();
        };
        struct Finally {
            std::function<void()> f;
            ~Finally() { f(); }
        } finally{joinAll};

        ASSERT_TRUE(gui::WaitFor([&] { return started.load() == threads; }));
        unloader = std::thread([&] {
            Unload();
            unloaded = true;
        });
        // The unload's own time for every thread together is 2 s; it must end while the
        // threads are still busy.
        EXPECT_TRUE(gui::WaitFor([&] { return unloaded.load(); }, gui::ms(20000)))
            << "the unload still waits for a thread that does not answer";

        joinAll();
        EXPECT_TRUE(unloaded);
        // Once the threads handle messages again their popups close without the module.
        EXPECT_EQ(threads, closed.load());
        EXPECT_EQ(windowsBefore, counts::WindowsNow());
    }
}
