#include "crypt/cryptkey.h"

#include <QTest>
#include <algorithm>
#include <utility>

class CryptKeyTest : public QObject
{
    Q_OBJECT

private slots:
    void defaultKeyIsInvalid();
    void allocatedKeyIsZeroed();
    void moveTakesTheKey();
    void moveAssignmentReplacesTheKey();
    void wipeMakesTheKeyInvalid();
};

void CryptKeyTest::defaultKeyIsInvalid()
{
    const CryptKey key;
    QVERIFY(!key.isValid());
    QCOMPARE(key.data(), nullptr);
}

void CryptKeyTest::allocatedKeyIsZeroed()
{
    const CryptKey key = CryptKey::allocate();
    QVERIFY(key.isValid());
    QVERIFY(std::all_of(key.data(), key.data() + CryptKey::size,
                        [](unsigned char byte) { return byte == 0; }));
}

void CryptKeyTest::moveTakesTheKey()
{
    CryptKey source = CryptKey::allocate();
    source.data()[0] = 0x5A;
    const unsigned char *bytes = source.data();
    const CryptKey target(std::move(source));
    QVERIFY(
        !source.isValid()); // NOLINT(bugprone-use-after-move): the moved-from state is the point
    QVERIFY(target.isValid());
    QCOMPARE(target.data(), bytes);
    QCOMPARE(target.data()[0], 0x5A);
}

void CryptKeyTest::moveAssignmentReplacesTheKey()
{
    CryptKey source = CryptKey::allocate();
    source.data()[0] = 0x11;
    CryptKey target = CryptKey::allocate();
    target.data()[0] = 0x22;
    target = std::move(source);
    QVERIFY(!source.isValid()); // NOLINT(bugprone-use-after-move)
    QCOMPARE(target.data()[0], 0x11);
}

void CryptKeyTest::wipeMakesTheKeyInvalid()
{
    CryptKey key = CryptKey::allocate();
    key.makeReadOnly();
    key.wipe();
    QVERIFY(!key.isValid());
    QCOMPARE(key.data(), nullptr);
    key.wipe();
    QVERIFY(!key.isValid());
}

QTEST_GUILESS_MAIN(CryptKeyTest)
#include "tst_cryptkey.moc"
