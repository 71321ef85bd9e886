#include "Form3.h"
#include "OutlineShape.h"
#include "WindowFrame.h"

#include <QLabel>
#include <QtTest>

namespace {

struct Winner
{
    QString name;
    QColor color;
};

const QColor Green(0, 255, 0), Red(255, 0, 0), Blue(0, 0, 255), Yellow(255, 255, 0),
    Cyan(0, 255, 255), Magenta(255, 0, 255);

} // namespace

Q_DECLARE_METATYPE(Winner)

class Form3Test : public QObject
{
    Q_OBJECT

private slots:
    void windowAsDesigned();
    void winnerRows_data();
    void winnerRows();
    void escapeDoesNotCloseIt();
};

void Form3Test::windowAsDesigned()
{
    Form3 form;
    const QString differences = FrameDifferences(form, QStringLiteral("Q.V.Z Klikvar"), QSize(417, 290));
    QVERIFY2(differences.isEmpty(), qPrintable(differences));
    // One icon for the run: every icon built anew would add its sizes to
    // Qt's pixmap cache again, and the window is made for every match.
    QCOMPARE(form.windowIcon().cacheKey(), Form3().windowIcon().cacheKey());

    QCOMPARE(form.Shape1->geometry(), QRect(8, 8, 401, 273));
    QCOMPARE(form.Shape1->BorderColor(), QColor(Qt::white));
    QCOMPARE(form.Label1->geometry(), QRect(56, 16, 289, 33));
    QCOMPARE(form.Label1->text(), QStringLiteral("...a vítězem je..."));
    QCOMPARE(form.Label2.size(), std::size_t(1));
    QCOMPARE(form.Label2[0]->geometry(), QRect(88, 88, 233, 25));
    QCOMPARE(form.Label2[0]->objectName(), QStringLiteral("Label2(0)"));
    for (const QLabel* label : {form.Label1, form.Label2[0]}) {
        QCOMPARE(label->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(label->font().pointSizeF(), 13.5);
        QVERIFY(label->alignment().testFlag(Qt::AlignHCenter));
        QVERIFY(!label->autoFillBackground());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
    }

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // An odd width has no whole-pixel middle.
    const QPoint offCentre = form.frameGeometry().center() - form.screen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 1, qPrintable(QStringLiteral("off by %1, %2")
                                                              .arg(offCentre.x()).arg(offCentre.y())));
}

void Form3Test::winnerRows_data()
{
    QTest::addColumn<QList<Winner>>("winners");
    QTest::addColumn<QList<int>>("tops");
    QTest::newRow("one winner") << QList<Winner>{{"Alois", Blue}} << QList<int>{88};
    QTest::newRow("two tied") << QList<Winner>{{"Hráč 2", Red}, {"Hráč 4", Yellow}}
                              << QList<int>{88, 114};
    QTest::newRow("all six tied")
        << QList<Winner>{{"A", Green}, {"B", Red}, {"C", Blue}, {"D", Yellow}, {"E", Cyan}, {"F", Magenta}}
        << QList<int>{88, 114, 139, 165, 191, 216};
    QTest::newRow("empty name first") << QList<Winner>{{"", Green}, {"Bára", Cyan}}
                                      << QList<int>{88, 114};
    QTest::newRow("empty name between") << QList<Winner>{{"Adam", Green}, {"", Red}, {"Cyril", Blue}}
                                        << QList<int>{88, 114, 139};
}

// Rows stand 25 2/3 pixels apart, kept exact and rounded only on screen:
// 88, 113 2/3, 139 1/3, 165, 190 2/3, 216 1/3.
void Form3Test::winnerRows()
{
    QFETCH(QList<Winner>, winners);
    QFETCH(QList<int>, tops);
    Form3 form;
    for (const Winner& winner : winners)
        form.AddWinner(winner.name, winner.color);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(int(form.Label2.size()), winners.size());
    QCOMPARE(form.Shape1->BorderColor(), winners[0].color);
    for (int k = 0; k < winners.size(); ++k) {
        const QLabel* row = form.Label2[k];
        QCOMPARE(row->objectName(), QStringLiteral("Label2(%1)").arg(k));
        QCOMPARE(row->text(), winners[k].name);
        QCOMPARE(row->palette().color(QPalette::WindowText), winners[k].color);
        QCOMPARE(row->geometry(), QRect(88, tops[k], 233, 25));
        QCOMPARE(row->font(), form.Label2[0]->font());
        QCOMPARE(row->alignment(), form.Label2[0]->alignment());
        QVERIFY(row->isVisible());
        QVERIFY(form.Shape1->geometry().contains(row->geometry()));
    }
}

void Form3Test::escapeDoesNotCloseIt()
{
    Form3 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(form.isVisible());
    QVERIFY(form.close());
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(Form3Test)
#include "tst_form3.moc"
