#pragma once

// The units of the trade inputs live with the calculators, which the trade form
// and the windows share.
#include "calc/TradeUnits.h"
