#include "market/SingleQuoteWorker.h"
#include "FakeHttpProxy.h"
#include "market/QuotePageSource.h"
#include "quote-server/QuoteServer.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta::market;
using corvanta::tools::Answer;
using corvanta::tools::QuoteServer;

using Kind = SingleQuoteOutcome::Kind;
Q_DECLARE_METATYPE(corvanta::market::SingleQuoteOutcome::Kind)

namespace {

constexpr int waitMs = 10000;

SingleQuoteInputs inputs(const QString& code, const QString& name = u"浦发银行"_s)
{
    return {code, name, {u"1"_s, u"2"_s, u"20.00"_s, u"21.00"_s}, {}};
}

} // namespace

class SingleQuoteWorkerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QuoteServer> m_server;
    std::unique_ptr<SingleQuoteWorker> m_worker;

    SingleQuoteOutcome run(const SingleQuoteInputs& in)
    {
        QSignalSpy finished(m_worker.get(), &SingleQuoteWorker::finished);
        if (!m_worker->start(in) || (finished.isEmpty() && !finished.wait(waitMs)))
            qFatal("the single-stock fetch did not end");
        return finished.first().first().value<SingleQuoteOutcome>();
    }

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<QuoteServer>(
            QList<corvanta::tools::ListedStock>{{u"600000"_s, u"浦发银行"_s},
                                                {u"300750"_s, u"宁德时代"_s}},
            corvanta::tools::QuoteServerOptions{});
        QVERIFY(m_server->listen());
        FetchOptions options;
        options.transferTimeout = std::chrono::milliseconds(500);
        m_worker = std::make_unique<SingleQuoteWorker>(
            std::make_shared<QuotePageSource>(m_server->address()), options);
    }
    void cleanup()
    {
        m_worker.reset();
        m_server.reset();
    }

    // The fetch reports its start before anything else, and its end at every exit.
    void startingConditions_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("requests");
        QTest::newRow("placeholder code") << u"000000"_s << Kind::Skipped << 0;
        QTest::newRow("five characters") << u"60000"_s << Kind::Skipped << 0;
        QTest::newRow("blanks around five") << u"  60000 "_s << Kind::Skipped << 0;
        QTest::newRow("empty input") << QString() << Kind::Skipped << 0;
        QTest::newRow("full code") << u"600000"_s << Kind::Fetched << 1;
        QTest::newRow("full code with blanks") << u" 600000 "_s << Kind::Fetched << 1;
        QTest::newRow("unknown code") << u"999999"_s << Kind::Failed << 1;
    }
    void startingConditions()
    {
        QFETCH(QString, code);
        QFETCH(Kind, kind);
        QFETCH(int, requests);
        QStringList order;
        connect(m_worker.get(), &SingleQuoteWorker::started, this,
                [&order] { order.append(u"started"_s); });
        connect(m_worker.get(), &SingleQuoteWorker::finished, this,
                [&order] { order.append(u"finished"_s); });
        const SingleQuoteOutcome outcome = run(inputs(code));
        QCOMPARE(outcome.kind, kind);
        QCOMPARE(order, (QStringList{u"started"_s, u"finished"_s}));
        QCOMPARE(m_server->requests().size(), requests);
        QVERIFY(!m_worker->isRunning());
    }

    void fetchedQuoteIsParsedForTheWindow()
    {
        const SingleQuoteOutcome outcome = run(inputs(u"300750"_s, u"宁德时代"_s));
        QCOMPARE(outcome.kind, Kind::Fetched);
        QCOMPARE(outcome.records.size(), 1);
        const QuoteSnapshot record = QuoteSnapshot::fromLine(outcome.records[0]);
        QCOMPARE(outcome.quote.price, record.price);
        QVERIFY(outcome.quote.fields);
        QCOMPARE(outcome.quote.fields->previousClose, record.previousClose);
        QCOMPARE(outcome.quote.fields->open, record.open);
        // ChiNext: 20% from the previous close.
        const double close = record.previousClose.toDouble();
        QVERIFY(outcome.quote.captions);
        QCOMPARE(outcome.quote.captions->profit,
                 u"盈利抛售计算  涨停:"_s + QString::number(close * 1.2, 'f', 2));
    }

    void failuresEndTheRunWithTheTimeOutText_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QuoteFailure>("failure");
        QTest::newRow("one line") << int(Answer::OneLine) << QuoteFailure::ShortReply;
        QTest::newRow("HTTP error") << int(Answer::Error) << QuoteFailure::HttpStatus;
        QTest::newRow("dropped") << int(Answer::Drop) << QuoteFailure::Connection;
        QTest::newRow("silent") << int(Answer::Hang) << QuoteFailure::TimedOut;
    }
    void failuresEndTheRunWithTheTimeOutText()
    {
        QFETCH(int, answer);
        QFETCH(QuoteFailure, failure);
        corvanta::tools::QuoteServerOptions options;
        options.answer = Answer(answer);
        m_server->setOptions(options);
        const SingleQuoteOutcome outcome = run(inputs(u"600000"_s));
        QCOMPARE(outcome.kind, Kind::Failed);
        QCOMPARE(outcome.failure, failure);
        QCOMPARE(SingleQuoteWorker::failureText(), u"网络连接超时!"_s);
    }

    void redirectsAreFollowed()
    {
        corvanta::tools::QuoteServerOptions options;
        options.answer = Answer::Redirect;
        m_server->setOptions(options);
        QCOMPARE(run(inputs(u"600000"_s)).kind, Kind::Fetched);
    }

    void oneFetchAtATime()
    {
        corvanta::tools::QuoteServerOptions options;
        options.answer = Answer::Hang;
        m_server->setOptions(options);
        QSignalSpy finished(m_worker.get(), &SingleQuoteWorker::finished);
        QVERIFY(m_worker->start(inputs(u"600000"_s)));
        QVERIFY(m_worker->isRunning());
        QVERIFY(!m_worker->start(inputs(u"600000"_s)));
        m_worker->cancel();
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().value<SingleQuoteOutcome>().failure,
                 QuoteFailure::Cancelled);
        QVERIFY(!m_worker->isRunning());
    }

    // The proxy is read at every start: set, then cleared.
    void usesTheProxyOfEachStart()
    {
        FakeHttpProxy proxy;
        QVERIFY(proxy.listen());
        SingleQuoteInputs in = inputs(u"600000"_s);
        in.proxy = {u"127.0.0.1"_s, proxy.port()};
        QCOMPARE(run(in).kind, Kind::Fetched);
        QCOMPARE(proxy.requestLines().size(), 1);
        QVERIFY(proxy.requestLines()[0].endsWith("/htmdata/html/600000.htm HTTP/1.1"));
        in.proxy.port = 0;
        QCOMPARE(run(in).kind, Kind::Fetched);
        QCOMPARE(proxy.requestLines().size(), 1);
        QCOMPARE(m_server->requests().size(), 2);
    }

    void destroyedInFlightEndsCleanly()
    {
        corvanta::tools::QuoteServerOptions options;
        options.answer = Answer::Hang;
        m_server->setOptions(options);
        QVERIFY(m_worker->start(inputs(u"600000"_s)));
        QTRY_COMPARE(m_server->requests().size(), 1);
        m_worker.reset();
        QTest::qWait(20);
    }
};

QTEST_GUILESS_MAIN(SingleQuoteWorkerTest)
#include "SingleQuoteWorkerTest.moc"
