// The ledgers, the work record and the envelopes as report declarations.
#pragma once

#include "report/report.h"

namespace reports {

// Pay ledgers.
report::Report payLedger();              // TfrmQR_KyuyoRep: one month, totals at the end
report::Report payLedgerByCategory();    // TfrmQR_KyuyoRep2: running totals on every page
report::Report annualPayLedger();        // TfrmQR_KyuyoRepN: a pay year, totals at the end
report::Report bonusLedger();            // TfrmQR_KyuyoRepS
report::Report bonusLedgerByCategory();  // TfrmQR_KyuyoRepS2: a page and totals per category
// Insurance ledgers.
report::Report insuranceLedger();                 // TfrmQR_HokenRep
report::Report insuranceLedgerByCategory();       // TfrmQR_HokenRep2
report::Report bonusInsuranceLedger();            // TfrmQR_HokenRepS
report::Report bonusInsuranceLedgerByCategory();  // TfrmQR_HokenRepS2
// The work record: each employee's attendance rows on pages of their own.
report::Report workRecord();  // TfrmQR_Kinmu
// Envelopes: the name set vertically, one envelope per employee.
report::Report envelopeRight();   // TfrmQR_FutoL4, envelope paper
report::Report envelopeCentre();  // TfrmQR_FutoL4C, A4

// The name on an envelope: 22 pt, shrunk down to this size when too long.
constexpr double EnvelopeNamePt = 22;
constexpr double EnvelopeNameFloorPt = 11;

}  // namespace reports
