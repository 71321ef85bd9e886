#include "ColorRef.h"
#include "Form1.h"
#include "Form3.h"
#include "OutlineShape.h"
#include "Playfield.h"
#include "PlayfieldView.h"
#include "WindowFrame.h"

#include <QLabel>
#include <QtTest>

namespace {

// What a control should look like when the window is created.
struct Design
{
    QString name;
    QRect geometry;
    QString caption;       // empty for controls without text
    QColor color;          // text or border colour; invalid where the design leaves it
    qreal pointSize = 0;   // 0 for controls without text
    bool visible = true;
};

QList<Design> DesignTable()
{
    QList<Design> table = {
        {"Picture1", QRect(0, 0, 450, 450), {}, {}, 0, true},
        {"Label4", QRect(112, 184, 209, 25), "Level 0", Qt::white, 13.5, false},
        {"Label3", QRect(456, 400, 129, 41), "Q.V.Z", {}, 24, true},
    };
    const QColor rowColors[] = {QColor(0, 255, 0), QColor(255, 0, 0), QColor(0, 0, 255),
                                QColor(255, 255, 0), QColor(0, 255, 255), QColor(255, 0, 255)};
    for (int i = 0; i < 6; ++i) {
        const bool visible = i < 2;
        const int top = 64 * i;
        table << Design{QStringLiteral("Shape1(%1)").arg(i), QRect(456, 8 + top, 129, 57), {},
                        rowColors[i], 0, visible}
              << Design{QStringLiteral("Label1(%1)").arg(i), QRect(464, 16 + top, 113, 17),
                        QStringLiteral("Hráč %1").arg(i + 1), rowColors[i], 9.75, visible}
              << Design{QStringLiteral("Label2(%1)").arg(i), QRect(464, 40 + top, 113, 17), "00",
                        rowColors[i], 12, visible};
    }
    return table;
}

QList<int> VisibleRows(const Form1& form)
{
    QList<int> rows;
    for (int i = 0; i < Form1::ScoreRows; ++i) {
        const bool shown = !form.Shape1[i]->isHidden();
        // A row shows or hides as a whole.
        if (form.Label1[i]->isHidden() == shown || form.Label2[i]->isHidden() == shown)
            return {-1};
        if (shown)
            rows << i;
    }
    return rows;
}

QImage Shown(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void windowIsFixedBlackAndTitled();
    void controlsAsDesigned_data();
    void controlsAsDesigned();
    void scoreRowsFollowThePlayers_data();
    void scoreRowsFollowThePlayers();
    void bannerIsNeverPartOfThePlayfield();
    void playfieldShowsTheImagePixelForPixel();
    void closingTheWindowUnloadsIt_data();
    void closingTheWindowUnloadsIt();
};

void Form1Test::windowIsFixedBlackAndTitled()
{
    Playfield field;
    Form1 form(field.Image());
    const QString differences = FrameDifferences(form, QStringLiteral("Q.V.Z Klikvar"), QSize(594, 456));
    QVERIFY2(differences.isEmpty(), qPrintable(differences));
    QCOMPARE(form.Timer1.interval(), 10);
    QCOMPARE(form.Timer1.timerType(), Qt::PreciseTimer);
    QVERIFY(form.Timer1.isActive());

    // Only the playfield takes the focus.
    for (QWidget* child : form.findChildren<QWidget*>())
        QCOMPARE(child->focusPolicy() != Qt::NoFocus, child == form.Picture1);

    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.Picture1);
    const QRect screen = form.screen()->availableGeometry();
    QCOMPARE(form.frameGeometry().center(), screen.center());
}

void Form1Test::controlsAsDesigned_data()
{
    QTest::addColumn<Design>("design");
    for (const Design& design : DesignTable())
        QTest::newRow(qPrintable(design.name)) << design;
}

void Form1Test::controlsAsDesigned()
{
    QFETCH(Design, design);
    Playfield field;
    Form1 form(field.Image());
    auto* control = form.findChild<QWidget*>(design.name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), design.geometry);
    QCOMPARE(!control->isHidden(), design.visible);

    if (auto* shape = qobject_cast<OutlineShape*>(control))
        QCOMPARE(shape->BorderColor(), design.color);
    if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->text(), design.caption);
        QVERIFY(label->alignment().testFlag(Qt::AlignHCenter));
        if (design.color.isValid())
            QCOMPARE(label->palette().color(QPalette::WindowText), design.color);
        const QFont font = label->font();
        QCOMPARE(font.family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(font.pointSizeF(), design.pointSize);
        QCOMPARE(font.weight(), QFont::Normal);
        // Whatever font stands in must draw every letter of the caption.
        const QFontMetrics metrics(font);
        for (const QChar letter : design.caption)
            QVERIFY2(metrics.inFont(letter), qPrintable(QFontInfo(font).family()));
        QVERIFY(metrics.inFont(QChar(0x010D))); // č
    }
}

void Form1Test::scoreRowsFollowThePlayers_data()
{
    QTest::addColumn<QList<int>>("lastPlayers");
    QTest::addColumn<QList<int>>("visibleRows");
    QTest::newRow("two players") << QList<int>{1} << QList<int>{0, 1};
    QTest::newRow("four players") << QList<int>{3} << QList<int>{0, 1, 2, 3};
    QTest::newRow("six players") << QList<int>{5} << QList<int>{0, 1, 2, 3, 4, 5};
    QTest::newRow("six, then two") << QList<int>{5, 1} << QList<int>{0, 1};
    QTest::newRow("four, six, then three") << QList<int>{3, 5, 2} << QList<int>{0, 1, 2};
}

void Form1Test::scoreRowsFollowThePlayers()
{
    QFETCH(QList<int>, lastPlayers);
    QFETCH(QList<int>, visibleRows);
    Playfield field;
    Form1 form(field.Image());
    for (int last : lastPlayers) {
        form.Label2[last]->setText(QStringLiteral("07"));
        form.ShowScoreRows(std::int16_t(last));
    }
    QCOMPARE(VisibleRows(form), visibleRows);
}

// The banner floats over the playfield on screen, but collisions read the
// image, which must stay black under it.
void Form1Test::bannerIsNeverPartOfThePlayfield()
{
    Playfield field;
    Form1 form(field.Image());
    form.Label4->setText(QStringLiteral("Level 12"));
    form.Label4->show();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    const QRect banner = form.Label4->geometry();
    const QImage onScreen = Shown(form.Picture1);
    int lettersOnScreen = 0;
    for (int y = banner.top(); y <= banner.bottom(); ++y) {
        for (int x = banner.left(); x <= banner.right(); ++x) {
            QCOMPARE(field.ReadPixel(x, y), Black);
            lettersOnScreen += onScreen.pixel(x, y) == qRgb(255, 255, 255);
        }
    }
    QVERIFY(lettersOnScreen > 20);
    // Transparent: the playfield shows around the letters.
    QCOMPARE(onScreen.pixel(banner.topLeft()), qRgb(0, 0, 0));
}

void Form1Test::playfieldShowsTheImagePixelForPixel()
{
    Playfield field;
    Form1 form(field.Image());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    field.DrawFrame(0, 0, 448, 448, White);
    for (int i = 0; i < 6; ++i)
        field.DrawSegment(50 + 60 * i, 40, 90 + 50 * i, 400, PlayerColors[i]);
    field.FillBox(200, 200, 220, 220, Black);
    for (const QRect& changed : field.TakeChanged())
        form.Picture1->update(changed);
    QCOMPARE(Shown(form.Picture1), field.Image());
}

void Form1Test::closingTheWindowUnloadsIt_data()
{
    QTest::addColumn<bool>("underWinnerWindow");
    QTest::newRow("alone") << false;
    // Wayland desktops ask even then; the game must not end under it.
    QTest::newRow("under the winner window") << true;
}

void Form1Test::closingTheWindowUnloadsIt()
{
    QFETCH(bool, underWinnerWindow);
    Playfield field;
    Form1 form(field.Image());
    QSignalSpy unloaded(&form, &Form1::Unloaded);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    if (underWinnerWindow) {
        Form3 winners(&form);
        bool closed = true;
        QTimer::singleShot(0, &winners, [&] {
            closed = form.close();
            winners.close();
        });
        winners.exec();
        QVERIFY(!closed);
        QCOMPARE(unloaded.count(), 0);
        QVERIFY(form.isVisible());
        return;
    }
    QVERIFY(form.close());
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"
