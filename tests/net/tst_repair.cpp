#include "Playfield.h"
#include "Repair.h"

#include <QtTest>
#include <QtEndian>

#include <random>

using namespace net;

namespace {

// Enough for three chunks.
constexpr int NoisyRows = 150;

// A field whose image does not compress into one chunk: the top rows noise.
QImage BusyField()
{
    QImage image(Playfield::Size, Playfield::Size, QImage::Format_RGB32);
    image.fill(Qt::black);
    std::mt19937 noise(3);
    for (int y = 0; y < NoisyRows; ++y) {
        for (int x = 0; x < Playfield::Size; ++x)
            image.setPixel(x, y, ToQColor(PlayerColors[noise() % 6]).rgb());
    }
    return image;
}

// A compressed payload that says it unpacks to the given size.
QByteArray Claiming(quint32 size, const QByteArray& rest)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(size, bytes.data());
    return bytes + rest;
}

} // namespace

class RepairTest : public QObject
{
    Q_OBJECT

private slots:
    void chunksInAnyOrderGiveTheImage_data();
    void chunksInAnyOrderGiveTheImage();
    void untrustedRepairsGiveNothing_data();
    void untrustedRepairsGiveNothing();
};

void RepairTest::chunksInAnyOrderGiveTheImage_data()
{
    QTest::addColumn<QList<int>>("order"); // chunk indices as they arrive; -1 for all, in order
    QTest::addColumn<bool>("whole");
    QTest::newRow("in order") << QList<int>{-1} << true;
    QTest::newRow("backwards") << QList<int>{2, 1, 0} << true;
    QTest::newRow("a chunk twice") << QList<int>{0, 0, 1, 2} << true;
    QTest::newRow("one missing") << QList<int>{0, 2} << false;
    QTest::newRow("one missing, another twice") << QList<int>{0, 2, 2} << false;
}

void RepairTest::chunksInAnyOrderGiveTheImage()
{
    QFETCH(QList<int>, order);
    QFETCH(bool, whole);
    const QImage image = BusyField();
    const QList<RepairChunk> chunks = SplitRepair(image, 40);
    QCOMPARE(chunks.size(), 3); // the rows are written for three
    if (order == QList<int>{-1})
        order = {0, 1, 2};
    RepairAssembler assembler;
    std::optional<QImage> repaired;
    for (const int index : order) {
        QVERIFY(!repaired); // nothing before the last piece
        repaired = assembler.Add(chunks[index]);
    }
    QCOMPARE(repaired.has_value(), whole);
    if (whole)
        QCOMPARE(*repaired, image);
}

void RepairTest::untrustedRepairsGiveNothing_data()
{
    QTest::addColumn<QList<RepairChunk>>("chunks");
    const QList<RepairChunk> good = SplitRepair(BusyField(), 7);
    const QByteArray raw(450 * 450 * 4, '\0');
    const QByteArray packedSmall = qCompress(QByteArray(100, '\0'));
    QTest::newRow("says it is huge") << QList<RepairChunk>{{7, 0, 1, Claiming(0x7FFFFFF0, good[0].payload.mid(4))}};
    QTest::newRow("says the field's size, holds less") << QList<RepairChunk>{{7, 0, 1, Claiming(450 * 450 * 4, packedSmall.mid(4))}};
    QTest::newRow("not compressed at all") << QList<RepairChunk>{{7, 0, 1, Claiming(450 * 450 * 4, QByteArray(5000, 'z'))}};
    QTest::newRow("another size of image") << QList<RepairChunk>{{7, 0, 1, qCompress(QByteArray(451 * 450 * 4, '\0'))}};
    QTest::newRow("shorter than its size") << QList<RepairChunk>{{7, 0, 1, QByteArray("ab")}};
    QTest::newRow("chunks of two repairs") << QList<RepairChunk>{good[0], good[1], {8, 2, 3, good[2].payload}};
    QTest::newRow("chunks that disagree on their count") << QList<RepairChunk>{good[0], good[1], {7, 2, 4, good[2].payload}};
    QTest::newRow("index past the count") << QList<RepairChunk>{good[0], good[1], {7, 3, 3, good[2].payload}};
}

void RepairTest::untrustedRepairsGiveNothing()
{
    QFETCH(QList<RepairChunk>, chunks);
    RepairAssembler assembler;
    for (const RepairChunk& chunk : chunks)
        QVERIFY(!assembler.Add(chunk).has_value());
}

QTEST_APPLESS_MAIN(RepairTest)
#include "tst_repair.moc"
