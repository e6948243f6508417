// Part of every test program: a test (or a suite, around its set-up and tear-down)
// that leaves an environment variable changed fails, because the next one would
// run in a setting it did not ask for. Tests change the environment through
// EnvironmentVariable, which puts it back.
#include <QProcessEnvironment>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

QStringList environment()
{
    QStringList variables = QProcessEnvironment::systemEnvironment().toStringList();
    variables.sort();
    return variables;
}

QString changes(const QStringList &before, const QStringList &after)
{
    QStringList lines;
    for (const QString &variable : before) {
        if (!after.contains(variable))
            lines << QStringLiteral("- ") + variable;
    }
    for (const QString &variable : after) {
        if (!before.contains(variable))
            lines << QStringLiteral("+ ") + variable;
    }
    return lines.join(QLatin1Char('\n'));
}

class UnchangedEnvironment : public ::testing::EmptyTestEventListener {
    void OnTestSuiteStart(const ::testing::TestSuite &) override { m_suite = environment(); }
    void OnTestStart(const ::testing::TestInfo &) override { m_test = environment(); }
    void OnTestEnd(const ::testing::TestInfo &) override
    {
        const QStringList now = environment();
        EXPECT_TRUE(now == m_test) << "the test left the environment changed:\n" << changes(m_test, now).toStdString();
    }
    void OnTestSuiteEnd(const ::testing::TestSuite &suite) override
    {
        const QStringList now = environment();
        EXPECT_TRUE(now == m_suite) << suite.name() << " left the environment changed:\n"
                                    << changes(m_suite, now).toStdString();
    }

    QStringList m_suite;
    QStringList m_test;
};

[[maybe_unused]] const bool registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new UnchangedEnvironment);
    return true;
}();

} // namespace
