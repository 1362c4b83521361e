#pragma once

// The code search component over the hospital's build files: services of a
// section, doctors, laboratory, x-ray and ultrasound examinations, dosages. A typed exact
// code is taken at once; otherwise, in search mode, the pick list offers the
// rows whose name or code starts with the text.
//
// The other examination lists (CT, audiometry, nuclear, heart station,
// rehabilitation, radiation therapy), towns and civil statuses have
// no table in the hospital database yet: SearchListing answers false for them
// and their records stay empty until their tables are added.
//
// A DatabaseError of a lookup reaches the calling screen.

#include "platform/codesearch.h"

#include <QHash>

class QWidget;

namespace chemodesk::components {

class ItemLookup : public platform::CodeSearch {
public:
    // `dialogParent`: the window the pick list belongs to (may be null).
    explicit ItemLookup(Connection &connection, QWidget *dialogParent = nullptr);

    void setMTS_Server(const QString &server) override { server_ = server; }
    void Initialize_Classes() override;
    // Adopts `connection`; a null one leaves the current connection.
    void setConnection(Connection *connection) override;
    void setCompanyName(const QString &companyName) override { companyName_ = companyName; }

    bool SearchMode() const override { return searchMode_; }
    void setSearchMode(bool on) override { searchMode_ = on; }
    QString OtherSectionID() const override { return sectionId_; }
    void setOtherSectionID(const QString &sectionId) override { sectionId_ = sectionId; }

    bool SearchListing(const QString &text, platform::ListKind kind) override;

    Field DoctorRecord(const QString &column) const override;
    Field OtherRevenueRecord(const QString &column) const override;
    Field DosageRecord(const QString &column) const override;
    Field AddressRecord(const QString &column) const override;
    Field CivilStatusRecord(const QString &column) const override;
    Field LABExamRecord(const QString &column) const override;
    Field XRayExamRecord(const QString &column) const override;
    Field CTExamRecord(const QString &column) const override;
    Field UltraSoundRecord(const QString &column) const override;
    Field AudioExamRecord(const QString &column) const override;
    Field NuclearExamRecord(const QString &column) const override;
    Field HSExamRecord(const QString &column) const override;
    Field PTExamRecord(const QString &column) const override;
    Field RTSExamRecord(const QString &column) const override;

    QString MTS_Server() const { return server_; }
    QString CompanyName() const { return companyName_; }

private:
    // A Null field before the kind's first successful search; a column the
    // record lacks raises DatabaseError, as a record set's does.
    Field record(platform::ListKind kind, const QString &column) const;

    Connection *connection_;
    QWidget *dialogParent_;
    bool searchMode_ = false;
    QString sectionId_;
    QString server_;
    QString companyName_;
    QHash<int, Recordset> records_;
};

} // namespace chemodesk::components
