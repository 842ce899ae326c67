#pragma once

#include <QTemporaryDir>
#include <QtTest>

// A temporary folder that outlives a failed test, so its files can be looked
// at. It decides when it goes: a failing QVERIFY has returned by then, so
// QTest::currentTestFailed() already knows the outcome.
class TestDir : public QTemporaryDir
{
public:
    TestDir() = default;
    ~TestDir()
    {
        if (QTest::currentTestFailed() && isValid()) {
            setAutoRemove(false);
            qWarning("kept the failed test's folder %s", qPrintable(path()));
        }
    }
};
