// plumanager: the PLU manager's window.
//   plumanager [--home DIR] [--demo]
// --home DIR  use DIR as the program directory instead of the executable's
// --demo      answer as a register: a simulated one on a private pseudo-terminal,
//             reached through the configured port for this run only
#include "link/PortNames.h"
#include "shell/AppContext.h"
#include "shell/Locale.h"
#include "shell/SystemConfig.h"
#include "shell/ui/MainForm.h"
#include "sim/MasterData.h"
#include "sim/RegisterSimulator.h"
#include "sim/SimulatorSetup.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv)
{
    std::optional<std::filesystem::path> home;
    bool demo = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--home") == 0 && i + 1 < argc) {
            home = argv[++i];
        } else if (std::strcmp(argv[i], "--demo") == 0) {
            demo = true;
        } else if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("usage: plumanager [--home DIR] [--demo]\n");
            return 0;
        } else if (argv[i][0] == '-' && std::strncmp(argv[i], "-platform", 9) != 0) {
            std::fprintf(stderr, "plumanager: unknown option '%s'\n", argv[i]);
            return 2;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("plumanager");
    plu::InitDecimalSeparatorFromLocale();
    plu::AppContext context = plu::MakeAppContext(plu::ResolveProgramDirs(home));

    std::unique_ptr<plu::sim::RegisterSimulator> simulator;
    std::map<int, std::string> overrides;
    QString titleSuffix;
    if (demo) {
        // The configured port leads to the simulated register for this run.
        if (context.PortNumber < 1 || context.PortNumber > plu::kPortCount)
            context.PortNumber = plu::kDefaultPortNumber;
        // The demo register remembers what it was sent from one run to the next;
        // the first run finds it stocked with sample items.
        plu::sim::Options options;
        options.StateDir = context.Dirs.TempDir / "demo-register";
        const bool firstRun = !std::filesystem::exists(options.StateDir);
        simulator = std::make_unique<plu::sim::RegisterSimulator>(options);
        plu::sim::InstallRegister(*simulator);
        auto linkPath = context.Dirs.TempDir / ("demo-tty-" + std::to_string(::getpid()));
        std::string error;
        if (!simulator->Start(linkPath, error)) {
            QMessageBox::critical(nullptr, "plumanager", QString::fromStdString("The demo register cannot start: " + error));
            return 1;
        }
        if (firstRun)
            simulator->WithState([](plu::sim::RegisterState& state) {
                plu::sim::SeedSampleItems(state);
                return 0;
            });
        overrides[context.PortNumber] = linkPath.string();
        titleSuffix = QString("(demo register on %1)").arg(QString::fromStdString(plu::CommNameFor(context.PortNumber)));
    }

    plu::TMainForm mainForm(context, overrides);
    if (!titleSuffix.isEmpty())
        mainForm.SetTitleSuffix(titleSuffix);
    // Without a window manager "maximized" means nothing; start at the screen's size anyway.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        mainForm.setGeometry(screen->availableGeometry());
    mainForm.showMaximized();
    const int result = app.exec();
    if (simulator)
        simulator->Stop();
    return result;
}
