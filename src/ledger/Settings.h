#pragma once

#include "calc/FeeRates.h"

#include <QString>

#include <optional>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// The monitor grid's font: size index 0 to 4 (8 to 12 points) and weight.
struct MonitorFont {
    int sizeIndex = 0;
    bool bold = false;
};

// What a fee row that is missing (or holds no number) stands for, on either
// side: the values the fee inputs show before anything is loaded ("5", "3", "3"),
// so that a trade is never priced with rates other than those the user sees.
inline constexpr double defaultOtherFee = 5;
inline constexpr double defaultStampRate = 3;
inline constexpr double defaultCommissionRate = 3;
FeeRates defaultFeeRates();

// The settings rows as found at start. A buy-side text is present when its row
// exists and holds a number: the window then shows it (and appends the rate
// texts to their drop-down lists); otherwise the window keeps its own default,
// which `rates` holds as well.
struct LoadedSettings {
    FeeRates rates = defaultFeeRates();
    std::optional<QString> buyOtherFeeText, buyStampRateText, buyCommissionRateText;
    QString proxyHost;
    int proxyPort = 0;
    MonitorFont font;
};

// Reads the nine settings rows of gpmc (the first row of each key). A row that is
// missing or whose value does not convert keeps that value's default; the other
// rows still load.
LoadedSettings loadSettings(sql::Database& db);

// What "save settings" writes: the fee inputs of the current trade side as typed,
// the proxy and the monitor font.
struct SettingsToSave {
    Direction side = Direction::Buy;
    QString otherFee, stampRate, commissionRate;
    QString proxyHost;
    int proxyPort = 0;
    MonitorFont font;
};

// Writes the side's three fee rows, proxsd, ztsd and zxsd in one transaction,
// updating existing rows and inserting missing ones. Returns `current` with the
// side's values replaced in the order other fee, stamp rate, commission rate,
// stopping at the first text that is not a number (the rows keep the texts).
FeeRates saveSettings(sql::Database& db, const SettingsToSave& settings, FeeRates current);

// The confirmation shown after saving.
QString savedMessage(Direction side);

} // namespace corvanta::ledger
