#include <QApplication>

#include "app/command_line.h"
#include "app/ui/quorim_app.h"
#include "ui/help_and_version.h"
#include "ui/shown_hook.h"

int main(int argc, char* argv[]) {
    quorim::AnswerHelpOrVersion(argc, argv, quorim::kProgrammingProgramAbout, [](QCommandLineParser& parser) {
        using quorim::FromUtf8View;
        parser.addOption(QCommandLineOption(FromUtf8View(quorim::kPrintToPdfSwitch.substr(2)),
                                            FromUtf8View(quorim::kPrintToPdfHelp),
                                            QStringLiteral("OUT.pdf")));
        parser.addPositionalArgument(QStringLiteral("FILE"),
                                     FromUtf8View(quorim::kProgrammingProgramFileHelp),
                                     QStringLiteral("[/p] [FILE]"));
    });
    // A batch print shows no window, so it needs no display either.
    for (int i = 1; i < argc; ++i) {
        if (quorim::kPrintToPdfSwitch == argv[i] && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
    QApplication qtApp(argc, argv);
    quorim::InstallQuitWhenShown("quorim::CQuorim_CHView");
    // The name the program was started under tells its language: the
    // launcher starts it as "tarvolin_EN.DLL" for English.
    quorim::CQuorim_CHApp app(quorim::LanguageOfProgramName(argc > 0 ? argv[0] : ""));
    QStringList args = QApplication::arguments();
    args.removeFirst();
    if (!app.InitInstance(args)) {
        return app.ExitCode();
    }
    return QApplication::exec();
}
