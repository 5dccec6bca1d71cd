#include "app/export_pdf.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "report/case_report.h"
#include "shell/background_export.h"
#include "shell/report_printing.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <string>

int exportPdfFromCommandLine(int argc, char* argv[])
{
    int option = 0;
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--export-pdf") == 0) {
            option = i;
            break;
        }
    }
    if (option == 0)
        return -1;
    if (option != 1 || argc != 4) {
        std::fputs("usage: corvantix --export-pdf CASE.cvx OUT.pdf\n", stderr);
        return 2;
    }
    const std::string casePath = argv[2];
    const std::string pdfPath = argv[3];

    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Only the case and the output are arguments; Qt is given none of them.
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);

    TCaseData data;
    if (auto error = loadCaseFile(casePath, data)) {
        const std::string where = error->offset ? casePath + ": " : std::string();
        std::fprintf(stderr, "corvantix: %s%s\n", where.c_str(), error->message.c_str());
        return 1;
    }
    if (auto error = exportCasePdf(data, pdfPath, localReportOptions(), defaultPaper())) {
        std::fprintf(stderr, "corvantix: %s\n", error->c_str());
        return 1;
    }
    return 0;
}
