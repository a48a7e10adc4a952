#pragma once
// --help and --version of the window programs, answered before any window
// exists, so they work without a display. The parser only looks for these
// two: every other argument keeps the meaning the program gives it.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <functional>
#include <string_view>

#include "base/program_info.h"

namespace quorim {

inline QString FromUtf8View(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// `describe` adds the program's own options and arguments to the parser so
// that the help lists them. Returns only when neither switch was given; with
// one of them it prints the answer and ends the process with status 0.
inline void AnswerHelpOrVersion(int argc, char* argv[], std::string_view about,
                                const std::function<void(QCommandLineParser&)>& describe) {
    QStringList args;
    for (int i = 0; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser parser;
    parser.setApplicationDescription(FromUtf8View(about));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    describe(parser);
    // Unknown switches are not errors here; the program decides about them.
    parser.parse(args);
    const bool helpAll = parser.isSet(QStringLiteral("help-all"));
    if (!parser.isSet(help) && !parser.isSet(version) && !helpAll) {
        return;
    }
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationVersion(FromUtf8View(ProgramVersion()));
    if (parser.isSet(help)) {
        parser.showHelp(0);
    }
    if (helpAll) {
        // The parser's own handling adds Qt's options to the help.
        parser.process(args);
    }
    parser.showVersion();
}

}  // namespace quorim
