#include "ClosingWindow.h"
#include "HostWindow.h"

#include <QLabel>
#include <QtTest>

// What the host window shows of the data it is given, and the window in
// which a joined computer learns that the match is over.
class HostWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void theCodeKeepsItsFourDigits();
    void computersFillTheRowsInOrder_data();
    void computersFillTheRowsInOrder();
    void clickingAPlayerAsksToHandItOn();
    void theClosingWindowClosesItself();
};

// A joining player must type four digits, so a code below 1000 is shown
// with its zeros.
void HostWindowTest::theCodeKeepsItsFourDigits()
{
    HostWindow window;
    window.ShowJoinInfo(QStringLiteral("192.168.1.5, 10.0.0.2"), 24724, 42);
    QCOMPARE(window.Label2->text(), QStringLiteral("adresa 192.168.1.5, 10.0.0.2\nport 24724, kód 0042"));
}

void HostWindowTest::computersFillTheRowsInOrder_data()
{
    QTest::addColumn<QStringList>("computers");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("nobody") << QStringList{} << QStringList{"zatím žádný", "", "", "", ""};
    QTest::newRow("two") << QStringList{"A", "B"} << QStringList{"A", "B", "", "", ""};
    QTest::newRow("more than the rows") << QStringList{"1", "2", "3", "4", "5", "6"}
                                        << QStringList{"1", "2", "3", "4", "5"};
}

void HostWindowTest::computersFillTheRowsInOrder()
{
    QFETCH(QStringList, computers);
    QFETCH(QStringList, shown);
    HostWindow window;
    window.ShowComputers({"old", "rows", "left", "over", "here"});
    window.ShowComputers(computers);
    QStringList rows;
    for (const QLabel* row : window.Label3)
        rows << row->text();
    QCOMPARE(rows, shown);
}

// A click hands on the player of its line; a line without one, nobody.
void HostWindowTest::clickingAPlayerAsksToHandItOn()
{
    HostWindow window;
    window.ShowOwners({"Hráč 1: Tento počítač", "Hráč 2: Tento počítač", "Hráč 3: Počítač 1"});
    QList<int> clicked;
    connect(&window, &HostWindow::OwnerClicked, this, [&clicked](int player) { clicked << player; });
    for (const int row : {2, 0, 3})
        QTest::mousePress(window.Label5[row], Qt::LeftButton);
    QCOMPARE(clicked, QList<int>({3, 1}));
    QCOMPARE(window.Label5[2]->text(), QStringLiteral("Hráč 3: Počítač 1"));
}

// The program ends only once this window is gone: it must not wait for a
// player who walked away.
void HostWindowTest::theClosingWindowClosesItself()
{
    const QString line = QStringLiteral("Hostitel ukončil hru.");
    ClosingWindow window(line);
    window.show();
    QCOMPARE(window.Label1->text(), line);
    QVERIFY(window.closesItself.isActive());
    QVERIFY(window.closesItself.isSingleShot());
    QCOMPARE(window.closesItself.interval(), ClosingWindow::ShownMs);
    QVERIFY(QMetaObject::invokeMethod(&window.closesItself, "timeout"));
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
}

QTEST_MAIN(HostWindowTest)
#include "tst_host_window.moc"
