#include "Form2.h"
#include "OutlineShape.h"
#include "WindowFrame.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

namespace {

// What a control should look like when the window is created.
struct Design
{
    QString name;
    QRect geometry;
    QString caption;      // text of labels, tick boxes and text boxes
    QColor color;         // text or border colour
    qreal pointSize = 0;  // 0 for outlines
    Qt::Alignment across = {};
};

constexpr qreal WindowFont = 8;
constexpr qreal Big = 13.5;

QList<Design> DesignTable()
{
    const QColor slot[] = {QColor(0, 255, 0), QColor(255, 0, 0), QColor(0, 0, 255),
                           QColor(255, 255, 0), QColor(0, 255, 255), QColor(255, 0, 255)};
    const QColor white = Qt::white;
    const char* const keyHelp[] = {"Hráč 1: Šipka doprava, šipka doleva", "Hráč 2: Q,W",
                                   "Hráč 3: V,B", "Hráč 4: O,P", "Hráč 5: +,-", "Hráč 6: 1,2"};
    QList<Design> table;
    for (int i = 0; i < 6; ++i) {
        table << Design{QStringLiteral("Shape1(%1)").arg(i), QRect(8, 8 + 64 * i, 129, 57), {}, slot[i]}
              << Design{QStringLiteral("Text1(%1)").arg(i), QRect(16, 40 + 64 * i, 113, 19),
                        QStringLiteral("Hráč %1").arg(i + 1), slot[i], WindowFont}
              << Design{QStringLiteral("Label3(%1)").arg(i), QRect(144, 168 + 24 * i, 177, 17),
                        QString::fromUtf8(keyHelp[i]), slot[i], WindowFont, Qt::AlignLeft};
    }
    for (int j = 0; j < 4; ++j)
        table << Design{QStringLiteral("Check1(%1)").arg(j), QRect(16, 144 + 64 * j, 113, 17),
                        "Hraju také!", slot[j + 2], WindowFont};
    table << Design{"Shape2", QRect(144, 8, 177, 121), {}, white}
          << Design{"Check2(0)", QRect(152, 16, 161, 25), "Jezdit skrz", white, Big}
          << Design{"Check2(1)", QRect(152, 48, 161, 25), "Závaly", white, Big}
          << Design{"Label1", QRect(160, 80, 145, 17), "Počet kol:", QColor(0xE0, 0xE0, 0xE0),
                    WindowFont, Qt::AlignHCenter}
          << Design{"Text2", QRect(160, 96, 145, 25), "25", white, Big}
          << Design{"Shape4", QRect(144, 136, 177, 177), {}, white}
          << Design{"Label4", QRect(144, 144, 177, 17), "Ovládání:", white, WindowFont, Qt::AlignLeft}
          << Design{"Shape3", QRect(144, 320, 177, 65), {}, white}
          << Design{"Label2(0)", QRect(144, 328, 177, 25), "Start", white, Big, Qt::AlignHCenter}
          << Design{"Label2(1)", QRect(144, 360, 177, 25), "Exit", white, Big, Qt::AlignHCenter};
    return table;
}

QString TextOf(QWidget* control)
{
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* box = qobject_cast<QLineEdit*>(control))
        return box->text();
    if (auto* box = qobject_cast<QCheckBox*>(control))
        return box->text();
    return {};
}

QPoint CentreOf(const Form2& form, const QString& name)
{
    return form.findChild<QWidget*>(name)->geometry().center();
}

// "white yellow": the text colours of Start and Exit.
QString StartAndExit(const Form2& form)
{
    QStringList colours;
    for (const QLabel* label : form.Label2) {
        const QColor colour = label->palette().color(QPalette::WindowText);
        colours << (colour == QColor(Qt::white) ? "white"
                    : colour == QColor(255, 255, 0) ? "yellow" : colour.name());
    }
    return colours.join(u' ');
}

QList<bool> Ticks(const Form2& form)
{
    QList<bool> ticks;
    for (const QCheckBox* box : form.Check1)
        ticks << box->isChecked();
    return ticks;
}

} // namespace

class Form2Test : public QObject
{
    Q_OBJECT

private slots:
    void windowIsFixedBlackAndCentred();
    void controlsAsDesigned_data();
    void controlsAsDesigned();
    void focusStartsOnTheFirstNameAndFollowsTheTabOrder();
    void textBoxLengths();
    void startAndExitLightUnderTheMouse_data();
    void startAndExitLightUnderTheMouse();
    void playerTicksCascade_data();
    void playerTicksCascade();
    void anyButtonOnStartOrExitActsOnThePress_data();
    void anyButtonOnStartOrExitActsOnThePress();
    void onlyTheCloseBoxClosesTheWindow();
};

void Form2Test::windowIsFixedBlackAndCentred()
{
    Form2 form;
    const QString differences =
        FrameDifferences(form, QStringLiteral("Q.V.Z Klikvar v1.01"), QSize(326, 392));
    QVERIFY2(differences.isEmpty(), qPrintable(differences));

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.frameGeometry().center(), form.screen()->availableGeometry().center());
}

void Form2Test::controlsAsDesigned_data()
{
    QTest::addColumn<Design>("design");
    for (const Design& design : DesignTable())
        QTest::newRow(qPrintable(design.name)) << design;
}

void Form2Test::controlsAsDesigned()
{
    QFETCH(Design, design);
    Form2 form;
    auto* control = form.findChild<QWidget*>(design.name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), design.geometry);
    QVERIFY(!control->isHidden());
    QCOMPARE(control->focusPolicy() != Qt::NoFocus,
             qobject_cast<QLineEdit*>(control) || qobject_cast<QCheckBox*>(control));

    if (auto* shape = qobject_cast<OutlineShape*>(control)) {
        QCOMPARE(shape->BorderColor(), design.color);
        return;
    }
    QCOMPARE(TextOf(control), design.caption);
    const QPalette::ColorRole textRole =
        qobject_cast<QLineEdit*>(control) ? QPalette::Text : QPalette::WindowText;
    QCOMPARE(control->palette().color(textRole), design.color);
    if (auto* box = qobject_cast<QLineEdit*>(control))
        QCOMPARE(box->palette().color(QPalette::Base), QColor(Qt::black));
    if (auto* box = qobject_cast<QCheckBox*>(control))
        QVERIFY(!box->isChecked());

    const QFont font = control->font();
    QCOMPARE(font.family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(font.pointSizeF(), design.pointSize);
    QCOMPARE(font.weight(), QFont::Normal);
    const QFontMetrics metrics(font);
    for (const QChar letter : design.caption)
        QVERIFY2(metrics.inFont(letter), qPrintable(QFontInfo(font).family()));

    if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, design.across);
        // The whole caption shows: wrapped within the label's width, it
        // still fits the label's height.
        const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 1000),
                                                  Qt::TextWordWrap, label->text());
        QVERIFY2(needed.height() <= label->height(),
                 qPrintable(QStringLiteral("%1 px of text in %2 px")
                                .arg(needed.height()).arg(label->height())));
    }
}

void Form2Test::focusStartsOnTheFirstNameAndFollowsTheTabOrder()
{
    Form2 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.Text1[0]);

    QStringList order;
    for (int step = 0; step < 14; ++step) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, QStringList({"Text1(0)", "Text1(1)", "Text1(2)", "Text1(3)", "Text1(4)",
                                 "Text1(5)", "Check1(0)", "Check1(1)", "Check1(2)", "Check1(3)",
                                 "Check2(0)", "Check2(1)", "Text2", "Text1(0)"}));
}

void Form2Test::textBoxLengths()
{
    Form2 form;
    for (QLineEdit* name : form.Text1) {
        name->clear();
        QTest::keyClicks(name, QStringLiteral("Bartholomew"));
        QCOMPARE(name->text(), QStringLiteral("Bartholo"));
        name->clear();
        name->insert(QStringLiteral("Žluťoučký kůň"));
        QCOMPARE(name->text(), QStringLiteral("Žluťoučk"));
    }
    const QString rounds(40000, u'9');
    form.Text2->setText(rounds);
    QCOMPARE(form.Text2->text(), rounds);
    form.Text2->clear();
    QTest::keyClicks(form.Text2, QStringLiteral("1234567890123"));
    QCOMPARE(form.Text2->text(), QStringLiteral("1234567890123"));
}

void Form2Test::startAndExitLightUnderTheMouse_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("colours");
    // Where the mouse goes, in order: a control's name, or "background" and
    // "inside an outline" for the window's own surface.
    QTest::newRow("onto Start") << QStringList{"Label2(0)"} << "yellow white";
    QTest::newRow("onto Exit") << QStringList{"Label2(1)"} << "white yellow";
    QTest::newRow("Start to Exit") << QStringList{"Label2(0)", "Label2(1)"} << "white yellow";
    QTest::newRow("Exit to Start") << QStringList{"Label2(1)", "Label2(0)"} << "yellow white";
    QTest::newRow("Start to background") << QStringList{"Label2(0)", "background"} << "white white";
    QTest::newRow("Exit to an outline") << QStringList{"Label2(1)", "inside an outline"}
                                        << "white white";
    QTest::newRow("Start to its own frame") << QStringList{"Label2(0)", "Shape3"} << "white white";
    QTest::newRow("Start to key help") << QStringList{"Label2(0)", "Label3(5)"} << "yellow white";
    QTest::newRow("Start to a name box") << QStringList{"Label2(0)", "Text1(0)"} << "yellow white";
    QTest::newRow("Exit to a tick box") << QStringList{"Label2(1)", "Check1(3)"} << "white yellow";
    QTest::newRow("Exit to the rounds") << QStringList{"Label2(1)", "Text2", "Label1", "Label4"}
                                        << "white yellow";
    QTest::newRow("Exit to an option") << QStringList{"Label2(1)", "Check2(1)"} << "white yellow";
    QTest::newRow("Start, key help, background")
        << QStringList{"Label2(0)", "Label3(0)", "background"} << "white white";
}

void Form2Test::startAndExitLightUnderTheMouse()
{
    QFETCH(QStringList, path);
    QFETCH(QString, colours);
    Form2 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (const QString& place : path) {
        const QPoint at = place == "background"          ? QPoint(140, 300)
                          : place == "inside an outline" ? QPoint(20, 80)
                          : place == "Shape3"            ? QPoint(144, 356)
                                                         : CentreOf(form, place);
        QTest::mouseMove(&form, at);
    }
    QCOMPARE(StartAndExit(form), colours);
}

void Form2Test::playerTicksCascade_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QList<int>>("changes");
    QTest::addColumn<QList<bool>>("ticks");
    // Each change flips one box of players 3 to 6 (0 is player 3).
    QTest::newRow("player 5 before 4") << "mouse" << QList<int>{2}
                                       << QList<bool>{false, false, false, false};
    // Unticking a player unticks the players after, so the ticks stay on the
    // first boxes.
    QTest::newRow("players 3 and 4, then 3 off") << "mouse" << QList<int>{0, 1, 0}
                                                 << QList<bool>{false, false, false, false};
    QTest::newRow("all four, then 4 off") << "mouse" << QList<int>{0, 1, 2, 3, 1}
                                          << QList<bool>{true, false, false, false};
    QTest::newRow("all four, then 6 off") << "space" << QList<int>{0, 1, 2, 3, 3}
                                          << QList<bool>{true, true, true, false};
    QTest::newRow("all four in order") << "mouse" << QList<int>{0, 1, 2, 3}
                                       << QList<bool>{true, true, true, true};
    QTest::newRow("all four backwards") << "mouse" << QList<int>{3, 2, 1, 0}
                                        << QList<bool>{true, false, false, false};
    QTest::newRow("player 3 alone") << "mouse" << QList<int>{0} << QList<bool>{true, false, false, false};
    QTest::newRow("by the keyboard") << "space" << QList<int>{1, 0, 1}
                                     << QList<bool>{true, true, false, false};
    QTest::newRow("by the program") << "program" << QList<int>{3, 0, 1, 2}
                                    << QList<bool>{true, true, true, false};
}

void Form2Test::playerTicksCascade()
{
    QFETCH(QString, how);
    QFETCH(QList<int>, changes);
    QFETCH(QList<bool>, ticks);
    Form2 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (int j : changes) {
        QCheckBox* box = form.Check1[j];
        if (how == "mouse")
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        else if (how == "space")
            QTest::keyClick(box, Qt::Key_Space);
        else
            box->setChecked(!box->isChecked());
    }
    QCOMPARE(Ticks(form), ticks);
}

void Form2Test::anyButtonOnStartOrExitActsOnThePress_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QEvent::Type>("press");
    const QEvent::Type press = QEvent::MouseButtonPress;
    QTest::newRow("left on Start") << 0 << Qt::LeftButton << Qt::KeyboardModifiers() << press;
    QTest::newRow("right on Start") << 0 << Qt::RightButton << Qt::KeyboardModifiers() << press;
    QTest::newRow("middle on Start with Ctrl") << 0 << Qt::MiddleButton
                                               << Qt::KeyboardModifiers(Qt::ControlModifier) << press;
    QTest::newRow("left on Exit with Shift") << 1 << Qt::LeftButton
                                             << Qt::KeyboardModifiers(Qt::ShiftModifier) << press;
    QTest::newRow("right on Exit with Alt") << 1 << Qt::RightButton
                                            << Qt::KeyboardModifiers(Qt::AltModifier) << press;
    // Qt reports the second of two quick presses as a double-click.
    const QEvent::Type second = QEvent::MouseButtonDblClick;
    QTest::newRow("second half of a double-click on Start") << 0 << Qt::LeftButton
                                                            << Qt::KeyboardModifiers() << second;
    QTest::newRow("second half of a double-click on Exit") << 1 << Qt::LeftButton
                                                           << Qt::KeyboardModifiers() << second;
}

void Form2Test::anyButtonOnStartOrExitActsOnThePress()
{
    QFETCH(int, index);
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QEvent::Type, press);
    Form2 form;
    QSignalSpy started(&form, &Form2::StartChosen);
    QSignalSpy exited(&form, &Form2::ExitChosen);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QLabel* label = form.Label2[index];
    if (press == QEvent::MouseButtonPress) {
        QTest::mousePress(label, button, modifiers);
    } else {
        const QPointF at(label->width() / 2, label->height() / 2);
        QMouseEvent event(press, at, label->mapToGlobal(at), button, button, modifiers);
        QApplication::sendEvent(label, &event);
    }
    QCOMPARE(started.count(), index == 0 ? 1 : 0);
    QCOMPARE(exited.count(), index == 1 ? 1 : 0);
    // Nothing more on the release.
    QTest::mouseRelease(label, button, modifiers);
    QCOMPARE(started.count() + exited.count(), 1);
}

void Form2Test::onlyTheCloseBoxClosesTheWindow()
{
    Form2 form;
    QSignalSpy unloaded(&form, &Form2::Unloaded);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    // Esc and Enter are no way out of the setup window.
    QTest::keyClick(form.Text1[0], Qt::Key_Escape);
    QTest::keyClick(form.Text1[0], Qt::Key_Return);
    QVERIFY(form.isVisible());
    QCOMPARE(unloaded.count(), 0);

    QVERIFY(form.close());
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(Form2Test)
#include "tst_form2.moc"
