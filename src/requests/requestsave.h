#pragma once

// Saving a pharmacy or central supply request: one log-book call per complete
// line, all in one transaction. No widget here, so tests and the benchmark
// reach it without a screen.

#include <QDateTime>
#include <QString>

#include <vector>

namespace chemodesk {
class Connection;
}

namespace chemodesk::requests {

// One grid line as the save reads it.
struct RequestLine {
    QString code;
    QString description;
    QString dosage;
    QString quantity;
    QString amount;
    QString remarks;
    QString reference; // the pharmacy grid's hidden column
};

// What every line of one save carries besides its own cells.
struct RequestHeader {
    QString hospNum;
    QString idNum;
    QString inOut;
    QString doctorId;
    QString userId;
    QString dateTime; // "MM/DD/YYYY hh:mm:ss AM/PM"
};

// How a kind of request is sent: the call's opening up to its first
// apostrophe, the request type and its two closing values.
struct LogBookCall {
    QString opening; // "Clinical_Area..spCancer_AppendCancerLogBook '"
    QString requestType;
    QString forPharmacy; // "Y" or "N"
    bool sendsReference; // true: the line's reference; false: "0"
};

LogBookCall pharmacyCall(bool olderLayout);
LogBookCall centralSupplyCall(bool olderLayout);

// Code, Amount, Quantity (and Dosage where the kind needs one) all filled.
bool lineComplete(const RequestLine &line, bool needsDosage);

// The date and time as the log book is sent it.
QString requestDate(const QDateTime &when);

// The text of one line's call, each value escaped inside its quotes.
QString logBookText(const LogBookCall &call, const RequestHeader &header, const RequestLine &line);

// Sends every complete line in one transaction; returns how many. A failing
// call rolls the whole request back and raises its DatabaseError.
int saveRequest(Connection &connection, const LogBookCall &call, const RequestHeader &header,
                const std::vector<RequestLine> &lines, bool needsDosage);

} // namespace chemodesk::requests
