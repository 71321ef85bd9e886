#include "MatchOptions.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cmath>
#include <limits>

class MatchOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void readsNumbersLeniently_data();
    void readsNumbersLeniently();
    void survivesAnyText_data();
    void survivesAnyText();
    void blanksAnywhereNeverChangeTheNumber();
};

void MatchOptionsTest::readsNumbersLeniently_data()
{
    const double inf = std::numeric_limits<double>::infinity();
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("default") << "25" << 25.0;
    QTest::newRow("decimal") << "2.5" << 2.5;
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("number then word") << "3 abc" << 3.0;
    QTest::newRow("blank inside digits") << "1 0" << 10.0;
    QTest::newRow("tabs and line feeds anywhere") << "\t1\n2 .\t5" << 12.5;
    QTest::newRow("carriage return stops") << "1\r2" << 1.0;
    QTest::newRow("minus") << "-4" << -4.0;
    QTest::newRow("blank after minus") << "- 4" << -4.0;
    QTest::newRow("plus") << "+7" << 7.0;
    QTest::newRow("lone sign") << "-" << 0.0;
    QTest::newRow("two signs") << "+-3" << 0.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("trailing point") << "5." << 5.0;
    QTest::newRow("lone point") << "." << 0.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("comma stops") << "1,5" << 1.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("signed exponent") << "1.5E+2" << 150.0;
    QTest::newRow("negative exponent") << "25e-1" << 2.5;
    QTest::newRow("blank in exponent") << "1 e 2" << 100.0;
    QTest::newRow("letter without digits") << "2e" << 2.0;
    QTest::newRow("exponent sign without digits") << "2e-" << 2.0;
    QTest::newRow("exponent then word") << "2ex" << 2.0;
    QTest::newRow("overflow") << "1e999" << inf;
    QTest::newRow("negative overflow") << "-9e99999999999999999999" << -inf;
    QTest::newRow("underflow") << "1e-999" << 0.0;
    QTest::newRow("zero with a huge exponent") << "0.000e99999999999999999999" << 0.0;
    QTest::newRow("many fraction digits offset a big exponent") << "0.0001e310" << 1e306;
    QTest::newRow("arabic-indic digit") << QString(QChar(0x0663)) << 0.0;
    QTest::newRow("fullwidth digit") << QString(QChar(0xFF11)) << 0.0;
    QTest::newRow("czech letters after") << "4 kola" << 4.0;
    QTest::newRow("no-break space stops") << QString("1") + QChar(0x00A0) + "2" << 1.0;
}

void MatchOptionsTest::readsNumbersLeniently()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(LenientNumber(text), value);
}

void MatchOptionsTest::survivesAnyText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("finite");
    QTest::newRow("a million digits") << QString(1'000'000, u'7') << false;
    QTest::newRow("a million fraction digits") << "0." + QString(1'000'000, u'3') << true;
    QTest::newRow("a million blanks then a number") << QString(1'000'000, u' ') + "8" << true;
    QTest::newRow("a long exponent") << "1e" + QString(100'000, u'9') << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "5" << true;
}

void MatchOptionsTest::survivesAnyText()
{
    QFETCH(QString, text);
    QFETCH(bool, finite);
    const double value = LenientNumber(text);
    QVERIFY(!std::isnan(value));
    QCOMPARE(std::isfinite(value), finite);
}

void MatchOptionsTest::blanksAnywhereNeverChangeTheNumber()
{
    // Random text made of what numbers are built from and a few strangers:
    // taking out every blank, tab and line feed must not change the value.
    const QString alphabet = QStringLiteral("0123456789+-.eE \t\n\rxč٣");
    QRandomGenerator generator(20261207);
    for (int round = 0; round < 3000; ++round) {
        QString text;
        const int length = generator.bounded(30);
        for (int i = 0; i < length; ++i)
            text += alphabet[generator.bounded(int(alphabet.size()))];
        QString packed = text;
        packed.remove(u' ').remove(u'\t').remove(u'\n');
        const double value = LenientNumber(text);
        QVERIFY2(!std::isnan(value), qPrintable(text));
        QVERIFY2(value == LenientNumber(packed), qPrintable(text));
    }
}

QTEST_GUILESS_MAIN(MatchOptionsTest)
#include "tst_match_options.moc"
