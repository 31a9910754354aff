#include "garnish/rules/PublishedAmounts.h"

#include "core/AppError.h"
#include "core/GermanFormat.h"

namespace {

constexpr qint64 TenEuros = 10 * Money::Scale;
constexpr int ShareTenths[6] = {7, 5, 4, 3, 2, 1};   // garnishable share per column, in tenths

} // namespace

GarnishmentBase PublishedAmounts::baseValues() const
{
    const std::pair<const char *, Money> inputs[] = {{"Freibetrag (G)", freeAmount},
                                                     {"Erhöhung für die erste Person (U1)", firstDependant},
                                                     {"Erhöhung für jede weitere Person (U2)", furtherDependant},
                                                     {"Höchstbetrag (K)", cap}};
    for (const auto &[name, value] : inputs) {
        if (value < Money() || value > GarnishmentGrid::MaxValue)
            throw UserWarning(QStringLiteral("Der Betrag „%1“ muss zwischen %2 und %3 liegen.")
                                  .arg(QString::fromUtf8(name), GermanFormat::currency(Money()),
                                       GermanFormat::currency(GarnishmentGrid::MaxValue)));
    }

    GarnishmentBase b;
    for (int k = 0; k <= 5; ++k) {
        const Money free = freeAmount + (k >= 1 ? firstDependant : Money()) + furtherDependant * std::max(0, k - 1);
        const Money start = Money::fromRaw(free.raw() / TenEuros * TenEuros + TenEuros);
        // share × (start − free), rounded half up to cents; both factors are positive.
        const qint64 cents = ((start - free).raw() * ShareTenths[k] + 500) / 1000;
        b.netto[k] = start;
        b.beginn[k] = Money::fromCents(cents);
        b.intervall[k] = Money::fromCents(100 * ShareTenths[k]);
    }
    b.vonBeginn = b.netto[0];
    b.bisBeginn = b.vonBeginn - Money::fromCents(1);
    b.vonIntervall = Money::fromCents(1000);
    b.bisIntervall = Money::fromCents(1000);
    b.vonEnde = Money::fromRaw(cap.raw() / TenEuros * TenEuros);
    b.bisEnde = cap;
    if (b.vonEnde < b.vonBeginn)
        throw UserWarning(QStringLiteral("Der „Höchstbetrag (K)“ (%1) liegt unter dem Beginn der Pfändung (%2).")
                              .arg(GermanFormat::currency(cap), GermanFormat::currency(b.vonBeginn)));
    return b;
}
