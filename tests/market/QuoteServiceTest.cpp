#include "market/QuoteService.h"
#include "FakeHttpProxy.h"
#include "LoopbackQuotes.h"
#include "market/NetworkState.h"
#include "market/QuoteSourceChoice.h"
#include "market/SingleQuoteWorker.h"
#include "quote-server/QuoteServer.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta::market;
using corvanta::tools::Answer;
using corvanta::tools::Layout;
using corvanta::tools::QuoteServer;
using corvanta::tools::QuoteServerOptions;

Q_DECLARE_METATYPE(corvanta::market::QuoteFailure)

namespace {

using loopback::startServer;
using loopback::testPause;
using loopback::waitFor;
using loopback::waitMs;

} // namespace

// The service against local fakes of the quote page and both real sources.
class QuoteServiceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QuoteServer> m_page;
    std::unique_ptr<QuoteServer> m_sina;
    std::unique_ptr<QuoteServer> m_tencent;
    std::unique_ptr<NetworkState> m_network;
    std::unique_ptr<QuoteSourceChoice> m_choice;
    std::unique_ptr<QuoteService> m_service;

    void useSource(QuoteSourceKind kind)
    {
        m_choice = std::make_unique<QuoteSourceChoice>(
            kind, QuoteHosts{m_page->address(), m_sina->address(), m_tencent->address()},
            testPause);
        m_service = std::make_unique<QuoteService>(*m_network, *m_choice);
    }

private Q_SLOTS:
    void init()
    {
        m_page = startServer(Layout::Page);
        m_sina = startServer(Layout::Sina);
        m_tencent = startServer(Layout::Tencent);
        m_network = std::make_unique<NetworkState>();
        useSource(QuoteSourceKind::Page);
    }
    void cleanup()
    {
        m_service.reset();
        m_choice.reset();
        m_network.reset();
        m_tencent.reset();
        m_sina.reset();
        m_page.reset();
    }

    void makesNoManagerBeforeTheFirstRequest()
    {
        QVERIFY(!m_service->hasManager());
        QVERIFY(waitFor(m_service->fetch({u"600000"_s}, QuoteUse::CurrentStock)).ok());
        QVERIFY(m_service->hasManager());
    }

    // A proxy taken into use reaches the next request; cleared, the next goes direct.
    void proxyChangeReachesTheNextRequest()
    {
        FakeHttpProxy proxy;
        QVERIFY(proxy.listen());
        QVERIFY(waitFor(m_service->fetch({u"600000"_s}, QuoteUse::CurrentStock)).ok());
        QCOMPARE(proxy.requestLines().size(), 0);

        m_network->setProxy(u"127.0.0.1"_s, proxy.port());
        m_network->useEnteredProxy();
        QVERIFY(waitFor(m_service->fetch({u"600000"_s}, QuoteUse::Summary)).ok());
        QCOMPARE(proxy.requestLines().size(), 1);
        QVERIFY(proxy.requestLines()[0].endsWith("/htmdata/html/600000.htm HTTP/1.1"));

        m_network->clearProxy();
        QVERIFY(waitFor(m_service->fetch({u"600000"_s}, QuoteUse::Monitor)).ok());
        QCOMPARE(proxy.requestLines().size(), 1);
        QCOMPARE(m_page->requests().size(), 3);
    }

    // A new choice of source reaches the next request, with no new service.
    void sourceChangeReachesTheNextRequest_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QByteArray>("target");
        QTest::newRow("新浪") << u"新浪"_s << u"sina"_s << QByteArray("/list=sh600000");
        QTest::newRow("腾讯") << u"腾讯"_s << u"tencent"_s << QByteArray("/q=sh600000");
    }
    void sourceChangeReachesTheNextRequest()
    {
        QFETCH(QString, item);
        QFETCH(QString, asked);
        QFETCH(QByteArray, target);
        QVERIFY(waitFor(m_service->fetch({u"600000"_s}, QuoteUse::CurrentStock)).ok());
        QCOMPARE(m_page->requests().size(), 1);

        QVERIFY(m_choice->choose(item));
        const QuoteResult result = waitFor(m_service->fetch({u"600000"_s}, QuoteUse::CurrentStock));
        QVERIFY(result.ok());
        QCOMPARE(result.records.value(0).section(u',', 0, 0), u"600000"_s);
        const QuoteServer& server = asked == u"sina"_s ? *m_sina : *m_tencent;
        QCOMPARE(server.requests().size(), 1);
        QVERIFY(server.requests()[0].target.contains(target));
        QCOMPARE(m_page->requests().size(), 1);
    }

    void failureIsReportedAsAFailure_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QuoteFailure>("failure");
        QTest::newRow("HTTP error") << int(Answer::Error) << QuoteFailure::HttpStatus;
        QTest::newRow("dropped") << int(Answer::Drop) << QuoteFailure::Connection;
        QTest::newRow("one line") << int(Answer::OneLine) << QuoteFailure::ShortReply;
    }
    void failureIsReportedAsAFailure()
    {
        QFETCH(int, answer);
        QFETCH(QuoteFailure, failure);
        QuoteServerOptions options;
        options.answer = Answer(answer);
        m_page->setOptions(options);
        const QuoteResult result = waitFor(m_service->fetch({u"600000"_s}, QuoteUse::Summary));
        QVERIFY(!result.ok());
        QCOMPARE(result.failure, failure);
        QVERIFY(result.records.isEmpty());
    }

    // The monitor's requests do not follow redirects; the others do.
    void redirectsFollowTheUse_data()
    {
        QTest::addColumn<QuoteUse>("use");
        QTest::addColumn<bool>("ok");
        QTest::newRow("current stock") << QuoteUse::CurrentStock << true;
        QTest::newRow("summary") << QuoteUse::Summary << true;
        QTest::newRow("monitor") << QuoteUse::Monitor << false;
    }
    void redirectsFollowTheUse()
    {
        QFETCH(QuoteUse, use);
        QFETCH(bool, ok);
        QuoteServerOptions options;
        options.answer = Answer::Redirect;
        m_page->setOptions(options);
        QCOMPARE(waitFor(m_service->fetch({u"600000"_s}, use)).ok(), ok);
    }

    // The current stock's fetch asks the service: its source and its proxy.
    void singleStockFetchAsksTheService()
    {
        SingleQuoteWorker worker(*m_service);
        QSignalSpy asked(m_service.get(), &QuoteService::asked);
        QSignalSpy finished(&worker, &SingleQuoteWorker::finished);
        QVERIFY(m_choice->choose(u"腾讯"_s));
        QVERIFY(worker.start({u"600000"_s, u"浦发银行"_s, {}, {}}));
        QVERIFY(finished.wait(waitMs));
        QCOMPARE(finished.first().first().value<SingleQuoteOutcome>().kind,
                 SingleQuoteOutcome::Kind::Fetched);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().at(1).value<QuoteUse>(), QuoteUse::CurrentStock);
        QCOMPARE(m_tencent->requests().size(), 1);
        QCOMPARE(m_page->requests().size(), 0);
    }

    void workerGoneInFlightEndsTheRequest()
    {
        QuoteServerOptions options;
        options.answer = Answer::Hang;
        m_page->setOptions(options);
        auto worker = std::make_unique<SingleQuoteWorker>(*m_service);
        QVERIFY(worker->start({u"600000"_s, u"浦发银行"_s, {}, {}}));
        QTRY_COMPARE(m_page->requests().size(), 1);
        worker.reset();
        QTest::qWait(20);
        // The gate is free again: the next request goes out.
        m_page->setOptions({});
        QVERIFY(waitFor(m_service->fetch({u"600000"_s}, QuoteUse::CurrentStock)).ok());
    }
};

QTEST_GUILESS_MAIN(QuoteServiceTest)
#include "QuoteServiceTest.moc"
