// Which key is which in layouts with and without Latin letters.
#include "SessionTable.h"
#include "VirtualKeys.h"

class KeyLayoutsTest : public QObject
{
    Q_OBJECT

private slots:
    void letterKeysInEveryLayout_data();
    void letterKeysInEveryLayout();
    void firstKeysFollowTheSystemLanguage_data();
    void firstKeysFollowTheSystemLanguage();
};

void KeyLayoutsTest::letterKeysInEveryLayout_data()
{
    // What a layout gives for a physical key (X11 key numbers: 24 is where
    // a US keyboard has Q, 38 its A), after a letter typed at 38.
    QTest::addColumn<int>("typedBefore");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("scanCode");
    QTest::addColumn<QStringList>("held");
    const QStringList nobody;
    QTest::newRow("AZERTY: Q is where US has A") << int(Qt::Key_Q) << int(Qt::Key_Q) << 38 << QStringList{Held(1, true)};
    QTest::newRow("AZERTY: A where US has Q") << int(Qt::Key_Q) << int(Qt::Key_A) << 24 << nobody;
    QTest::newRow("Dvorak: ' where US has Q") << int(Qt::Key_A) << int(Qt::Key_Apostrophe) << 24 << nobody;
    QTest::newRow("Russian: Q's place") << 0x424 << 0x419 << 24 << QStringList{Held(1, true)};
    QTest::newRow("Russian: W's place") << 0x424 << 0x426 << 25 << QStringList{Held(1, false)};
    QTest::newRow("Russian: V's place") << 0x424 << 0x41C << 55 << QStringList{Held(2, true)};
    QTest::newRow("Russian: B's place") << 0x424 << 0x418 << 56 << QStringList{Held(2, false)};
    QTest::newRow("Russian: O's place") << 0x424 << 0x429 << 32 << QStringList{Held(3, true)};
    QTest::newRow("Russian: P's place") << 0x424 << 0x417 << 33 << QStringList{Held(3, false)};
    QTest::newRow("Russian: A's place") << 0x424 << 0x424 << 38 << nobody;
    QTest::newRow("Greek: ; at Q's place") << 0x391 << int(Qt::Key_Semicolon) << 24 << QStringList{Held(1, true)};
    QTest::newRow("Hebrew: ' at W's place") << 0x5E9 << int(Qt::Key_Apostrophe) << 25 << QStringList{Held(1, false)};
    QTest::newRow("Arabic: P's place") << 0x634 << 0x62D << 33 << QStringList{Held(3, false)};
}

void KeyLayoutsTest::letterKeysInEveryLayout()
{
    QFETCH(int, typedBefore);
    QFETCH(int, key);
    QFETCH(int, scanCode);
    QFETCH(QStringList, held);
    Table table;
    const auto send = [&table](QEvent::Type type, int key, int scanCode) {
        table.Send(type, key, Qt::NoModifier, quint32(scanCode));
    };
    send(QEvent::KeyPress, typedBefore, 38);
    send(QEvent::KeyRelease, typedBefore, 38);
    send(QEvent::KeyPress, key, scanCode);
    QCOMPARE(table.HeldFlags(), held);
    send(QEvent::KeyRelease, key, scanCode);
    QCOMPARE(table.HeldFlags(), QStringList{});
}

void KeyLayoutsTest::firstKeysFollowTheSystemLanguage_data()
{
    // Before any letter has been typed, the system's language is the guess
    // at the layout; the keys that are no letters go by their label in any
    // layout. X11 key numbers: 24 is where a US keyboard has Q.
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("scanCode");
    QTest::addColumn<int>("code");
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
    QTest::newRow("Greek: ; at Q's place") << "el_GR" << int(Qt::Key_Semicolon) << none << 24 << 81;
    QTest::newRow("English: ; at Q's place") << "en_US" << int(Qt::Key_Semicolon) << none << 24 << 0;
    QTest::newRow("Russian: left arrow") << "ru_RU" << int(Qt::Key_Left) << none << 113 << 37;
    QTest::newRow("Russian: right arrow") << "ru_RU" << int(Qt::Key_Right) << none << 114 << 39;
    QTest::newRow("Russian: keypad +") << "ru_RU" << int(Qt::Key_Plus) << keypad << 86 << 107;
    QTest::newRow("Russian: keypad -") << "ru_RU" << int(Qt::Key_Minus) << keypad << 82 << 109;
    QTest::newRow("Russian: keypad 1") << "ru_RU" << int(Qt::Key_1) << keypad << 87 << 97;
    QTest::newRow("Hebrew: keypad 2") << "he_IL" << int(Qt::Key_2) << keypad << 88 << 98;
    QTest::newRow("Russian: Esc") << "ru_RU" << int(Qt::Key_Escape) << none << 9 << 27;
    QTest::newRow("Arabic: Space") << "ar_EG" << int(Qt::Key_Space) << none << 65 << 32;
}

void KeyLayoutsTest::firstKeysFollowTheSystemLanguage()
{
    QFETCH(QString, language);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, scanCode);
    QFETCH(int, code);
    LayoutAwareKeys keys{QLocale(language)};
    const QKeyEvent down(QEvent::KeyPress, key, modifiers, quint32(scanCode), 0, 0);
    QCOMPARE(keys.Pressed(down), code);
    const QKeyEvent up(QEvent::KeyRelease, key, modifiers, quint32(scanCode), 0, 0);
    QCOMPARE(keys.Released(up), code);
}

QTEST_MAIN(KeyLayoutsTest)
#include "tst_key_layouts.moc"
