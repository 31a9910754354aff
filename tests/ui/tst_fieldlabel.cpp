#include "ui/FieldLabel.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

// Messages name a field by the label the window shows beside it, wherever the window put it.
class TestFieldLabel : public QObject
{
    Q_OBJECT
private slots:
    void labelsOfTheLayouts()
    {
        QWidget window;
        auto *outer = new QVBoxLayout(&window);

        auto *form = new QFormLayout;
        auto *inForm = new QLineEdit(&window);
        form->addRow(QStringLiteral("Bezeichnung :"), inForm);
        outer->addLayout(form);

        auto *grid = new QGridLayout;
        auto *inGrid = new QLineEdit(&window);
        grid->addWidget(new QLabel(QStringLiteral("&Rubrikbeschreibung :"), &window), 0, 0);
        grid->addWidget(inGrid, 0, 2);
        outer->addLayout(grid);

        auto *row = new QHBoxLayout;
        auto *inRow = new QLineEdit(&window);
        row->addWidget(new QLabel(QStringLiteral("Stand vom:"), &window));
        row->addWidget(inRow);
        outer->addLayout(row);

        auto *withBuddy = new QLineEdit(&window);
        auto *buddyLabel = new QLabel(QStringLiteral("Ku&rzbeschreibung"), &window);
        buddyLabel->setBuddy(withBuddy);
        outer->addWidget(withBuddy);
        outer->addWidget(buddyLabel);

        auto *alone = new QLineEdit(&window);
        outer->addWidget(alone);

        QCOMPARE(FieldLabel::of(inForm), QStringLiteral("Bezeichnung"));
        QCOMPARE(FieldLabel::of(inGrid), QStringLiteral("Rubrikbeschreibung"));
        QCOMPARE(FieldLabel::of(inRow), QStringLiteral("Stand vom"));
        QCOMPARE(FieldLabel::of(withBuddy), QStringLiteral("Kurzbeschreibung"));
        QCOMPARE(FieldLabel::of(alone), QString());
    }
};

QTEST_MAIN(TestFieldLabel)
#include "tst_fieldlabel.moc"
