// Convenience header: the whole Qt-free runtime layer.
#pragma once

#include "rtl/clock.h"
#include "rtl/commatext.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/format.h"
#include "rtl/money.h"
#include "rtl/rounding.h"
#include "rtl/strings.h"
#include "rtl/textfile.h"
#include "rtl/types.h"
