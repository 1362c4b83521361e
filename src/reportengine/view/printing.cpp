#include "printing.h"

#include "reportview.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace chemodesk::reportengine {

using platform::ReportError;

namespace {

PrinterSetup &printerSetup()
{
    static PrinterSetup setup;
    return setup;
}

} // namespace

void printTo(TemplateReport &report, QPrinter &printer, int first, int last)
{
    const PageLayout &pages = report.layout();
    printer.setFullPage(true);
    printer.setPageLayout(pages.pageLayout());
    if (printer.docName().isEmpty())
        printer.setDocName(report.document().title);
    pages.paint(printer,
                printer.outputFileName().isEmpty()
                    ? QStringLiteral("the printer \"%1\"").arg(printer.printerName())
                    : QStringLiteral("\"%1\"").arg(printer.outputFileName()),
                first, last);
}

void printOnDefaultPrinter(TemplateReport &report)
{
    const PageLayout &pages = report.layout();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pages.pageLayout());
    if (printerSetup())
        printerSetup()(printer);
    else if (QPrinterInfo::availablePrinterNames().isEmpty())
        throw ReportError(QStringLiteral("No printer is installed on this workstation."));
    printTo(report, printer);
}

PrinterSetup setPrinterSetup(PrinterSetup setup)
{
    PrinterSetup previous = std::move(printerSetup());
    printerSetup() = std::move(setup);
    return previous;
}

ViewingEngine::ViewingEngine(ConnectionSource connection)
    : TemplateEngine(std::move(connection), printOnDefaultPrinter)
{
}

QWidget *ViewingEngine::CreateViewer(platform::Report &report, bool showGroupTree, QWidget *parent)
{
    auto *ours = dynamic_cast<TemplateReport *>(&report);
    if (!ours)
        throw ReportError(QStringLiteral("This report was not opened by the report engine."));
    ours->layout();
    return new ReportView(*ours, showGroupTree, parent);
}

} // namespace chemodesk::reportengine
