// The slips as report declarations: pay slip and bonus slip on plain paper,
// the same two on the pre-printed form, and the deduction slip.
#pragma once

#include "report/report.h"

namespace reports {

report::Report paySlip();              // TfrmQR_Kyuyo
report::Report bonusSlip();            // TfrmQR_KyuyoS
report::Report paySlipPreprinted();    // TfrmQR_Kyuyo1170
report::Report bonusSlipPreprinted();  // TfrmQR_KyuyoS1170
report::Report deductionSlip();        // TfrmQR_Minus

}  // namespace reports
