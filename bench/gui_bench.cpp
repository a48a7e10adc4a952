// Responsiveness of the programming program during a 199-channel read at
// 9600 baud against the virtual radio, offscreen: a 1 ms precise timer runs
// whenever the window processes events, and the longest pause between two of
// its firings, from the start button to the end of the transfer (the decode
// into the grid included), is how long the window froze. Printed against one
// frame at 60 Hz. The timer's median interval, in the same run, shows how
// often events are processed at all (the transfer runs on a thread of its
// own).
//
//   QT_QPA_PLATFORM=offscreen quorim_gui_bench [reads]
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/main_frame.h"
#include "app/ui/quorim_app.h"
#include "bench/bench_support.h"
#include "editor/ui/form_view.h"
#include "link/ui/progress_dlg.h"

using namespace quorim;

namespace {

constexpr double kBudgetMs = 16;  // one frame at 60 Hz

struct Gaps {
    bool ok = false;
    double longest = 0;
    double medianTick = 0;
};

Gaps OneRead(const std::string& radioPath) {
    qputenv("QUORIM_COM1", QByteArray::fromStdString(radioPath));
    auto app = std::make_unique<CQuorim_CHApp>();
    if (!app->InitInstance({})) {
        return {};
    }
    CQuorim_CHView* view = app->MainFrame()->ActiveView();
    if (!view) {
        return {};
    }
    QCoreApplication::processEvents();
    view->OnReadRadio();
    auto* dlg = view->findChild<CProgressDlg*>();
    if (!dlg->IsWindow()) {
        return {};
    }

    QElapsedTimer clock;
    clock.start();
    qint64 last = -1;
    Gaps g;
    std::vector<double> ticks;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0) {
            const double gap = static_cast<double>(now - last) / 1e6;
            g.longest = std::max(g.longest, gap);
            ticks.push_back(gap);
        }
        last = now;
        if (!view->Radio().IsTransferRunning() && !dlg->IsWindow()) {
            QApplication::exit(0);
        }
    });
    // The start button starts the transfer on its worker thread.
    QTimer::singleShot(0, dlg->StartButton(), [&] {
        tick.start();
        dlg->StartButton()->click();
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QApplication::exit(1); });
    watchdog.start(120000);
    const int rc = QApplication::exec();
    tick.stop();
    g.ok = rc == 0 && view->Editor().Rows() == 200;
    g.medianTick = bench::Median(ticks);
    return g;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Settings of its own, not the user's.
    char dirTemplate[] = "/tmp/quorim-guibench-XXXXXX";
    if (const char* home = mkdtemp(dirTemplate)) {
        qputenv("XDG_CONFIG_HOME", home);
    }
    const int reads = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QApplication qtApp(argc, argv);
    std::vector<double> longest, floor;
    {
        bench::Radio radio({"--model", "199", "--pace"});
        for (int i = 0; i < reads; ++i) {
            const Gaps g = OneRead(radio.Path());
            if (!g.ok) {
                std::fprintf(stderr, "the read did not complete\n");
                return 1;
            }
            longest.push_back(g.longest);
            floor.push_back(g.medianTick);
        }
    }
    const double m = bench::Median(longest);
    std::printf("%-28s %10s %10s %7s  %s\n", "benchmark", "measured", "budget", "ratio", "target");
    std::printf("%-28s %8.1fms %8.0fms %7.3f  < 1\n", "longest event gap, read 199", m, kBudgetMs,
                m / kBudgetMs);
    std::printf(
        "# event gap: median of %d paced reads (worst %.1f ms); events processed every %.1f ms (median)\n",
        reads, *std::max_element(longest.begin(), longest.end()), bench::Median(floor));
    const std::string cleanup = std::string("rm -rf '") + dirTemplate + "'";
    if (std::system(cleanup.c_str()) != 0) {
        std::fprintf(stderr, "could not remove %s\n", dirTemplate);
    }
    return 0;
}
