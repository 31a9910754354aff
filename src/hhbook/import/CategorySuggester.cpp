#include "hhbook/import/CategorySuggester.h"

#include "hhbook/rules/HhbookVocabulary.h"

#include <QSet>

#include <algorithm>

namespace {

QString counterpartyKey(const QString &counterparty)
{
    return counterparty.simplified().toCaseFolded();
}

} // namespace

QStringList CategorySuggester::words(const QString &text)
{
    // Markers of SEPA texts and booking kinds say nothing about what the money was for.
    static const QSet<QString> noise = {
        QStringLiteral("eref"), QStringLiteral("mref"), QStringLiteral("cred"), QStringLiteral("svwz"),
        QStringLiteral("abwa"), QStringLiteral("abwe"), QStringLiteral("iban"), QStringLiteral("bic"),
        QStringLiteral("sepa"), QStringLiteral("lastschrift"), QStringLiteral("basislastschrift"),
        QStringLiteral("gutschrift"), QStringLiteral("überweisung"), QStringLiteral("ueberweisung"),
        QStringLiteral("dauerauftrag"), QStringLiteral("kartenzahlung"), QStringLiteral("folgelastschrift"),
        QStringLiteral("erstlastschrift"), QStringLiteral("notprovided"), QStringLiteral("und"),
        QStringLiteral("der"), QStringLiteral("die"), QStringLiteral("das"), QStringLiteral("für"),
        QStringLiteral("vom"), QStringLiteral("von"), QStringLiteral("mit"), QStringLiteral("gmbh"),
        QStringLiteral("datum"), QStringLiteral("uhr"), QStringLiteral("end"), QStringLiteral("ref"),
        QStringLiteral("kundennr"), QStringLiteral("nr")};
    QStringList out;
    QString word;
    auto flush = [&] {
        if (word.size() >= 3 && !noise.contains(word) && !out.contains(word))
            out << word;
        word.clear();
    };
    for (QChar c : text) {
        if (c.isLetter())
            word += c.toCaseFolded();
        else
            flush();
    }
    flush();
    return out;
}

void CategorySuggester::keepNewer(QHash<QString, Known> &map, const QString &key, const Known &k)
{
    auto it = map.find(key);
    if (it == map.end())
        map.insert(key, k);
    else if (k.newerThan(*it))
        *it = k;
}

void CategorySuggester::learnCounterparty(const QString &counterparty, const QString &rubrik, const QDate &date,
                                          qint64 order)
{
    if (HhbookVocabulary::categoryIndex(rubrik) < 0)
        return;
    m_cache.clear();
    if (const QString key = counterpartyKey(counterparty); !key.isEmpty())
        keepNewer(m_byCounterparty, key, Known{rubrik, date, order});
}

void CategorySuggester::learnWords(const QString &text, const QString &rubrik, const QDate &date, qint64 order)
{
    if (HhbookVocabulary::categoryIndex(rubrik) < 0)
        return;
    m_cache.clear();
    const Known k{rubrik, date, order};
    QStringList w = words(text);
    if (w.isEmpty())
        return;
    std::sort(w.begin(), w.end());
    const QString signature = w.join(u' ');
    auto it = m_signatureIndex.find(signature);
    if (it != m_signatureIndex.end()) {
        if (k.newerThan(m_signatures.at(*it)))
            m_signatures[*it] = k;
        return;
    }
    const int index = static_cast<int>(m_signatures.size());
    m_signatures.append(k);
    m_signatureIndex.insert(signature, index);
    for (const QString &word : std::as_const(w))
        m_postings[word].append(index);
}

QString CategorySuggester::suggest(const QString &counterparty, const QString &text) const
{
    if (const QString key = counterpartyKey(counterparty); !key.isEmpty()) {
        const auto it = m_byCounterparty.constFind(key);
        if (it != m_byCounterparty.cend())
            return it->rubrik;
    }
    const QStringList w = words(counterparty + u' ' + text);
    const QString cacheKey = w.join(u' ');
    if (const auto hit = m_cache.constFind(cacheKey); hit != m_cache.cend())
        return *hit;

    // A word found in a large part of the book tells nothing apart and would only make
    // every lookup slow; it counts when no rarer word is shared.
    const qsizetype common = std::max<qsizetype>(50, m_signatures.size() / 5);
    QHash<int, int> shared;
    QVector<const QVector<int> *> frequent;
    for (const QString &word : w) {
        const auto p = m_postings.constFind(word);
        if (p == m_postings.cend())
            continue;
        if (p->size() > common) {
            frequent.append(&*p);
            continue;
        }
        for (int s : *p)
            ++shared[s];
    }
    if (shared.isEmpty())
        for (const QVector<int> *p : std::as_const(frequent))
            for (int s : *p)
                ++shared[s];

    int best = -1, bestScore = 0;
    for (auto it = shared.cbegin(); it != shared.cend(); ++it) {
        if (it.value() > bestScore
            || (it.value() == bestScore && best >= 0 && m_signatures.at(it.key()).newerThan(m_signatures.at(best)))) {
            best = it.key();
            bestScore = it.value();
        }
    }
    const QString result = best >= 0 ? m_signatures.at(best).rubrik : QString();
    m_cache.insert(cacheKey, result);
    return result;
}
