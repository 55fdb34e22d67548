#pragma once

// Small helpers shared by the suites and the benchmark.

#include "call_deck.h"
#include "draws.h"

#include <QFile>
#include <QString>

#include <optional>
#include <string_view>
#include <vector>

namespace bingo::testing {

inline QString LetterText(std::optional<std::string_view> letter) {
    return letter ? QString::fromLatin1(letter->data(), qsizetype(letter->size()))
                  : QStringLiteral("<none>");
}
inline QString LetterText(int n) {
    return LetterText(LetterFor(n));
}

// Slots 1..75 of a deck, in call order.
inline std::vector<int> DeckOrder(const CallDeck& deck) {
    std::vector<int> order;
    for (int i = 1; i <= kBallCount; ++i) {
        order.push_back(deck.Slot(i));
    }
    return order;
}

// A field of /proc/PID/status in KiB ("VmHWM:" is the peak resident set), or -1.
inline long StatusKib(const QString& pid, const char* field) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').front().toLong();
        }
    }
    return -1;
}
inline long PeakKib() {
    return StatusKib(QStringLiteral("self"), "VmHWM:");
}

} // namespace bingo::testing
