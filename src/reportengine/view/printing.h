#pragma once

// Printing and viewing the reports of the template engine: the part of the
// engine that needs widgets and a printer, kept out of the engine itself.

#include "reportengine/templatereport.h"

#include <functional>

class QPrinter;
class QWidget;

namespace chemodesk::reportengine {

// Prints pages first..last (0-based) of `report` on `printer`.
void printTo(TemplateReport &report, QPrinter &printer, int first = 0, int last = -1);

// Prints every page on the workstation's default printer (or where the
// printer setup points). Raises ReportError when there is no printer.
void printOnDefaultPrinter(TemplateReport &report);

// Where printouts go. Tests point the printer at a PDF file; nothing set
// means the workstation's default printer.
using PrinterSetup = std::function<void(QPrinter &)>;
PrinterSetup setPrinterSetup(PrinterSetup setup);

// The engine the client uses: prints on the default printer and shows
// reports in a viewer window.
class ViewingEngine : public TemplateEngine {
public:
    explicit ViewingEngine(ConnectionSource connection);

    // Runs the report first, so a failing source raises ReportError before
    // any window is made.
    QWidget *CreateViewer(platform::Report &report, bool showGroupTree, QWidget *parent) override;
};

} // namespace chemodesk::reportengine
