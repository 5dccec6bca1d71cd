#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Corvantix: strategic business planning in ten workshops.\n"
                       "Opens FILE, a Corvantix case file (.cvx), when one is given.\n"
                       "corvantix --export-pdf CASE.cvx OUT.pdf writes the report of CASE as a PDF\n"
                       "without opening a window; no display is needed."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The case file to open."),
                                 QStringLiteral("[FILE]"));
}

} // namespace

int answerInformationOptions(int argc, char* argv[])
{
    // Only the two information options are looked for here; everything else (Qt's own options
    // such as -platform included) is left to the application object.
    bool help = false;
    bool version = false;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument == QLatin1String("--"))
            break;
        help = help || argument == QLatin1String("--help") || argument == QLatin1String("-h")
            || argument == QLatin1String("-?");
        version = version || argument == QLatin1String("--version") || argument == QLatin1String("-v");
    }
    if (!help && !version)
        return -1;
    QCommandLineParser parser;
    describe(parser);
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help.")});
    parser.addOption({{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Show the version.")});
    // Without an application object the parser cannot know the program's name.
    QString text = help ? parser.helpText()
                        : QCoreApplication::applicationName() + QLatin1Char(' ')
            + QCoreApplication::applicationVersion() + QLatin1Char('\n');
    text.replace(QLatin1String("<executable_name>"), QCoreApplication::applicationName());
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    describe(parser);
    parser.parse(arguments);
    const QStringList files = parser.positionalArguments();
    return {files.isEmpty() ? QString() : files.constFirst()};
}
