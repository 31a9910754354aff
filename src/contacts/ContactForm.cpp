#include "contacts/ContactForm.h"

#include "admin/PlzLookup.h"
#include "contacts/PlzEdit.h"
#include "data/DataModules.h"
#include "ui/DbCheckBox.h"
#include "ui/DbComboBox.h"
#include "ui/DbEdit.h"
#include "ui/DbLabel.h"
#include "ui/DbMemo.h"
#include "ui/EditMask.h"
#include "ui/FieldBinding.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

const QStringList ContactForm::Categories = {
    QStringLiteral("Privat"),        QStringLiteral("Geschäft"),         QStringLiteral("Ärzte"),
    QStringLiteral("Behörden"),      QStringLiteral("Gaststätten"),      QStringLiteral("Rechtsanwälte"),
    QStringLiteral("Beratungsstellen"), QStringLiteral("Versicherungen"), QStringLiteral("Sonstige")};

namespace {

QFormLayout *formLayout(QWidget *parent)
{
    auto *form = new QFormLayout(parent);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setHorizontalSpacing(10);
    form->setVerticalSpacing(6);
    return form;
}

// Inputs side by side on one line; `widths` fixes all but the stretching ones (0).
QWidget *line(const QList<QWidget *> &parts, const QList<int> &widths, QWidget *parent)
{
    auto *w = new QWidget(parent);
    auto *row = new QHBoxLayout(w);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    bool stretches = false;
    for (int i = 0; i < parts.size(); ++i) {
        if (widths.value(i) > 0)
            parts.at(i)->setFixedWidth(widths.value(i));
        else
            stretches = true;
        row->addWidget(parts.at(i), widths.value(i) > 0 ? 0 : 1);
    }
    // Short inputs stay at the start of the line, under their neighbours.
    if (!stretches)
        row->addStretch(1);
    return w;
}

DbLabel *shown(DataSet *ds, const QString &field, QWidget *parent, const QString &name)
{
    auto *l = new DbLabel(ds, field, parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAutoFillBackground(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    l->setStyleSheet(QStringLiteral("background: white; padding: 1px 4px;"));
    l->setMinimumHeight(l->fontMetrics().height() + 8);
    return l;
}

} // namespace

ContactForm::ContactForm(DataModules &dm, Mode mode, QWidget *parent) : QWidget(parent), m_dm(dm), m_mode(mode)
{
    setObjectName(mode == Mode::Edit ? QStringLiteral("kontaktFelder") : QStringLiteral("kontaktAnzeige"));
    // Made in input order: the tab order follows the order of creation.
    QWidget *number = numberGroup();
    QWidget *person = personGroup();
    QWidget *address = addressGroup();
    QWidget *communication = communicationGroup();
    QWidget *internal = internalGroup();
    QWidget *notes = notesGroup();

    auto *left = new QVBoxLayout;
    left->setSpacing(8);
    left->addWidget(number);
    left->addWidget(person);
    left->addWidget(address);
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->setSpacing(8);
    right->addWidget(communication);
    right->addWidget(internal);
    right->addWidget(notes, 1);
    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(10);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
}

QWidget *ContactForm::input(const QString &field, QWidget *parent, const QString &name)
{
    DataSet *ds = m_dm.dmAdressen->qrKontakte;
    if (m_mode == Mode::Show)
        return shown(ds, field, parent, QStringLiteral("lbl") + (name.isEmpty() ? field : name));
    auto *e = new DbEdit(ds, field, parent);
    e->setObjectName(QStringLiteral("dbe") + (name.isEmpty() ? field : name));
    if (!m_first)
        m_first = e;
    return e;
}

QWidget *ContactForm::numberGroup()
{
    DataSet *ds = m_dm.dmAdressen->qrKontakte;
    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("gbKontaktNr"));
    QFormLayout *form = formLayout(group);
    // Never typed into, so never in the tab order.
    DbLabel *number = shown(ds, QStringLiteral("Adr_id"), group, QStringLiteral("lblAdr_id"));
    number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    DbLabel *date = shown(ds, QStringLiteral("Erfdat"), group, QStringLiteral("lblErfdat"));
    const bool edit = m_mode == Mode::Edit;
    form->addRow(QStringLiteral("Kontakt-Nr. :"), line({number}, {90}, group));
    form->addRow(edit ? QStringLiteral("Erf.-Datum :") : QStringLiteral("Erfassungs-Datum :"),
                 line({date}, {90}, group));
    return group;
}

QWidget *ContactForm::personGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Persönliche Angaben"), this);
    group->setObjectName(QStringLiteral("gbPersoenlich"));
    QFormLayout *form = formLayout(group);
    form->addRow(QStringLiteral("Name 1 :"), input(QStringLiteral("Name1"), group));
    form->addRow(QStringLiteral("Name 2 :"), input(QStringLiteral("Name2"), group));
    form->addRow(QStringLiteral("Name 3 :"), input(QStringLiteral("Name3"), group));
    form->addRow(QStringLiteral("Suchname :"), input(QStringLiteral("Suna"), group));
    return group;
}

QWidget *ContactForm::addressGroup()
{
    DataSet *ds = m_dm.dmAdressen->qrKontakte;
    auto *group = new QGroupBox(QStringLiteral("Anschrift"), this);
    group->setObjectName(QStringLiteral("gbAnschrift"));
    QFormLayout *form = formLayout(group);
    const bool edit = m_mode == Mode::Edit;

    QWidget *street = input(QStringLiteral("Strasse"), group);
    QWidget *house = input(QStringLiteral("Hausnr"), group);
    form->addRow(QStringLiteral("Strasse/Hs.-Nr. :"), line({street, house}, {0, 70}, group));

    QWidget *country = input(QStringLiteral("Land"), group);
    QWidget *plz;
    if (edit) {
        m_plz = new PlzEdit(ds, QStringLiteral("Plz"), group);
        m_plz->setObjectName(QStringLiteral("dbePlz"));
        // The town of a known postcode comes in by itself, while the contact is being edited.
        m_plz->setOnLeft([this, ds] {
            if (!ds->isPending())
                return;
            const QString town = PlzLookup::townFor(m_dm.dmFirma->qrPlzOrt, m_plz->text());
            if (!town.isEmpty())
                ds->setValue(QStringLiteral("Ort"), town);
        });
        plz = m_plz;
    } else {
        plz = input(QStringLiteral("Plz"), group);
    }
    QWidget *town = input(QStringLiteral("Ort"), group);
    form->addRow(QStringLiteral("Land / Plz / Ort :"), line({country, plz, town}, {50, 64, 0}, group));

    QWidget *state;
    if (edit) {
        auto *combo = new DbComboBox(ds, QStringLiteral("Buland"), DbComboBox::Mode::ListOnly, {}, group);
        combo->setObjectName(QStringLiteral("dbcBuland"));
        combo->setMaxVisibleItems(16);
        DataSet *states = m_dm.dmFirma->qrBuland;
        auto fill = [combo, states] {
            QStringList names;
            if (states->isOpen()) {
                const int col = states->fieldIndex(QStringLiteral("Buland"));
                for (int r = 0; r < states->recordCount(); ++r)
                    names << states->valueAt(r, col).toString();
            }
            const QSignalBlocker block(combo);
            combo->clear();
            combo->addItems(names);
            // The stored state was looked for before there were names to find it among.
            combo->binding()->refresh();
        };
        fill();
        connect(states, &DataSet::rowsReset, combo, fill);
        state = combo;
    } else {
        state = input(QStringLiteral("Buland"), group);
    }
    form->addRow(QStringLiteral("Bundesland :"), state);

    QWidget *box = input(QStringLiteral("Pofach"), group);
    QWidget *useBox;
    if (edit) {
        auto *check = new DbCheckBox(ds, QStringLiteral("Poverwenden"), QStringLiteral("Postfach verwenden"), group);
        check->setObjectName(QStringLiteral("dbcbPoverwenden"));
        useBox = check;
    } else {
        DbLabel *l = shown(ds, QStringLiteral("Poverwenden"), group, QStringLiteral("lblPoverwenden"));
        l->setFormatter([](const QVariant &v) {
            return v.toBool() ? QStringLiteral("Postfach verwenden") : QString();
        });
        l->setFrameShape(QFrame::NoFrame);
        l->setStyleSheet(QString());
        l->setAutoFillBackground(false);
        useBox = l;
    }
    form->addRow(QStringLiteral("Postfach :"), line({box, useBox}, {0, 150}, group));

    QWidget *boxPlz = input(QStringLiteral("Poplz"), group);
    // The post box has no town of its own: this is the same town as above.
    QWidget *boxTown = input(QStringLiteral("Ort"), group, QStringLiteral("PoOrt"));
    form->addRow(QStringLiteral("PoPlz / Ort"), line({boxPlz, boxTown}, {64, 0}, group));
    return group;
}

QWidget *ContactForm::communicationGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Kommunikation"), this);
    group->setObjectName(QStringLiteral("gbKommunikation"));
    QFormLayout *form = formLayout(group);
    form->addRow(QStringLiteral("Telefon :"), input(QStringLiteral("Telefon"), group));
    form->addRow(QStringLiteral("Telefax :"), input(QStringLiteral("Telefax"), group));
    form->addRow(QStringLiteral("Mobiltelefon :"), input(QStringLiteral("Mobil"), group));
    form->addRow(QStringLiteral("E-Mail :"), input(QStringLiteral("Email"), group));
    if (m_mode == Mode::Show)
        form->addRow(QStringLiteral("Internet :"), input(QStringLiteral("Internet"), group));
    return group;
}

QWidget *ContactForm::internalGroup()
{
    DataSet *ds = m_dm.dmAdressen->qrKontakte;
    auto *group = new QGroupBox(QStringLiteral("Internes"), this);
    group->setObjectName(QStringLiteral("gbInternes"));
    QFormLayout *form = formLayout(group);
    if (m_mode == Mode::Edit) {
        auto *birthday = new DbEdit(ds, QStringLiteral("Geburtstag"), group, EditMask::DateShortDigits);
        birthday->setObjectName(QStringLiteral("dbeGeburtstag"));
        form->addRow(QStringLiteral("Geburtstag :"), line({birthday}, {100}, group));
        auto *category = new DbComboBox(ds, QStringLiteral("Rub1"), DbComboBox::Mode::FreeText, Categories, group);
        category->setObjectName(QStringLiteral("dbcRub1"));
        category->setMaxVisibleItems(Categories.size());
        form->addRow(QStringLiteral("Rubrik :"), category);
    } else {
        form->addRow(QStringLiteral("Geburtstag :"), line({input(QStringLiteral("Geburtstag"), group)}, {100}, group));
        form->addRow(QStringLiteral("Rubrik :"), input(QStringLiteral("Rub1"), group));
    }
    return group;
}

QWidget *ContactForm::notesGroup()
{
    DataSet *ds = m_dm.dmAdressen->qrKontakte;
    auto *group = new QGroupBox(QStringLiteral("Notizen"), this);
    group->setObjectName(QStringLiteral("gbNotizen"));
    auto *layout = new QVBoxLayout(group);
    if (m_mode == Mode::Edit) {
        auto *memo = new DbMemo(ds, QStringLiteral("Notizen"), group);
        memo->setObjectName(QStringLiteral("dbmNotizen"));
        memo->setTabChangesFocus(true);
        layout->addWidget(memo);
    } else {
        DbLabel *notes = shown(ds, QStringLiteral("Notizen"), group, QStringLiteral("lblNotizen"));
        notes->setWordWrap(true);
        notes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        notes->setMinimumHeight(80);
        layout->addWidget(notes, 1);
    }
    return group;
}
