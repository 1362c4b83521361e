#pragma once

// Writing a report document to files: Excel workbooks (.xlsx) and Rich Text
// (.rtf). PDF files go through the page layout (pagelayout.h). Each raises
// ReportError naming the file when it cannot be written.

#include "reportdocument.h"

namespace chemodesk::reportengine {

void writeExcel(const ReportDocument &document, const QString &path);
void writeRtf(const ReportDocument &document, const QString &path);
void writePdf(const ReportDocument &document, const QString &path);

// A text as it stands in an RTF body.
QByteArray rtfText(const QString &text);

} // namespace chemodesk::reportengine
