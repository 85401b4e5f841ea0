#include "FakeHttpProxy.h"
#include "market/QuoteFetcher.h"
#include "market/QuotePageSource.h"
#include "market/QuoteSnapshot.h"
#include "market/SequentialQuoteRun.h"
#include "quote-server/QuoteServer.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta::market;
using corvanta::tools::Answer;
using corvanta::tools::QuoteServer;
using corvanta::tools::QuoteServerOptions;

Q_DECLARE_METATYPE(corvanta::market::QuoteFailure)

namespace {

const QList<corvanta::tools::ListedStock> stocks{
    {u"600000"_s, u"浦发银行"_s}, {u"000001"_s, u"平安银行"_s}, {u"300750"_s, u"宁德时代"_s}};

// Long enough for any loopback answer, short enough that a broken test ends soon.
constexpr int waitMs = 10000;

QuoteResult waitFor(QuoteJob* job)
{
    QSignalSpy spy(job, &QuoteJob::finished);
    if (!spy.wait(waitMs))
        return {QuoteFailure::None, {u"<no answer>"_s}, -1};
    return spy.first().first().value<QuoteResult>();
}

} // namespace

class QuoteFetchTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QuoteServer> startServer(QuoteServerOptions options = {})
    {
        auto server = std::make_unique<QuoteServer>(stocks, std::move(options));
        if (!server->listen())
            qFatal("quote server: %s", qPrintable(server->errorString()));
        return server;
    }
    std::shared_ptr<const QuoteSource> sourceFor(const QuoteServer& server)
    {
        return std::make_shared<QuotePageSource>(server.address());
    }

private Q_SLOTS:
    void fetchesTheRecordLineWithThePagesRequest()
    {
        auto server = startServer();
        QuoteFetcher fetcher;
        const QuoteResult result = waitFor(fetcher.fetch(sourceFor(*server), {u"600000"_s}));
        QVERIFY(result.ok());
        QCOMPARE(result.records.size(), 1);
        QVERIFY(result.records[0].startsWith(u"600000,"_s));
        QCOMPARE(result.records[0].count(u','), 15);

        QCOMPARE(server->requests().size(), 1);
        const corvanta::tools::ReceivedRequest& request = server->requests()[0];
        QCOMPARE(request.method, "GET");
        QCOMPARE(request.target, "/htmdata/html/600000.htm");
        QCOMPARE(request.headers.value("accept"), "text/html, */*");
        QCOMPARE(request.headers.value("user-agent"), "Mozilla/3.0 (compatible; Indy Library)");
    }

    void everyFailureIsOneKind_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("followRedirects");
        QTest::addColumn<QuoteFailure>("failure");
        QTest::newRow("HTTP error status")
            << int(Answer::Error) << u"600000"_s << true << QuoteFailure::HttpStatus;
        QTest::newRow("page not found")
            << int(Answer::Page) << u"999999"_s << true << QuoteFailure::HttpStatus;
        QTest::newRow("redirect not followed")
            << int(Answer::Redirect) << u"600000"_s << false << QuoteFailure::HttpStatus;
        QTest::newRow("connection dropped")
            << int(Answer::Drop) << u"600000"_s << true << QuoteFailure::Connection;
        QTest::newRow("one line") << int(Answer::OneLine) << u"600000"_s << true
                                  << QuoteFailure::ShortReply;
        QTest::newRow("larger than the bound")
            << int(Answer::Oversize) << u"600000"_s << true << QuoteFailure::TooLarge;
        QTest::newRow("server silent")
            << int(Answer::Hang) << u"600000"_s << true << QuoteFailure::TimedOut;
        QTest::newRow("redirect followed")
            << int(Answer::Redirect) << u"600000"_s << true << QuoteFailure::None;
    }

    void everyFailureIsOneKind()
    {
        QFETCH(int, answer);
        QFETCH(QString, code);
        QFETCH(bool, followRedirects);
        QFETCH(QuoteFailure, failure);
        QuoteServerOptions options;
        options.answer = Answer(answer);
        auto server = startServer(options);
        FetchOptions fetch;
        fetch.followRedirects = followRedirects;
        fetch.transferTimeout = std::chrono::milliseconds(300);
        QuoteFetcher fetcher(fetch);
        const QuoteResult result = waitFor(fetcher.fetch(sourceFor(*server), {code}));
        QCOMPARE(result.failure, failure);
        QCOMPARE(result.records.isEmpty(), failure != QuoteFailure::None);
    }

    void refusedConnectionFails()
    {
        QUrl address;
        {
            auto server = startServer();
            address = server->address();
        } // nobody listens there any more
        QuoteFetcher fetcher;
        const QuoteResult result =
            waitFor(fetcher.fetch(std::make_shared<QuotePageSource>(address), {u"600000"_s}));
        QCOMPARE(result.failure, QuoteFailure::Connection);
    }

    void goesThroughTheProxyOnlyWhenItsPortIsSet()
    {
        auto server = startServer();
        FakeHttpProxy proxy;
        QVERIFY(proxy.listen());
        FetchOptions options;
        options.proxy = {u"127.0.0.1"_s, proxy.port()};
        QuoteFetcher fetcher(options);
        QVERIFY(waitFor(fetcher.fetch(sourceFor(*server), {u"000001"_s})).ok());
        QCOMPARE(proxy.requestLines().size(), 1);
        QCOMPARE(proxy.requestLines()[0],
                 "GET " + server->address().toEncoded() + "/htmdata/html/000001.htm HTTP/1.1");
        QCOMPARE(server->requests().size(), 1);

        options.proxy.port = 0; // the host stays set
        fetcher.setOptions(options);
        QVERIFY(waitFor(fetcher.fetch(sourceFor(*server), {u"600000"_s})).ok());
        QCOMPARE(proxy.requestLines().size(), 1);
        QCOMPARE(server->requests().size(), 2);
        QCOMPARE(server->requests()[1].target, "/htmdata/html/600000.htm");
    }

    void deadProxyIsAConnectionFailure()
    {
        auto server = startServer();
        quint16 deadPort = 0;
        {
            FakeHttpProxy proxy;
            QVERIFY(proxy.listen());
            deadPort = proxy.port();
        }
        FetchOptions options;
        options.proxy = {u"127.0.0.1"_s, deadPort};
        QuoteFetcher fetcher(options);
        QCOMPARE(waitFor(fetcher.fetch(sourceFor(*server), {u"600000"_s})).failure,
                 QuoteFailure::Connection);
        QVERIFY(server->requests().isEmpty());
    }

    void aHangingRequestBlocksNoOtherFetch()
    {
        QuoteServerOptions serverOptions;
        serverOptions.byCode.insert(u"300750"_s, Answer::Hang);
        auto server = startServer(serverOptions);
        FetchOptions options;
        options.transferTimeout = std::chrono::milliseconds(1500);
        QuoteFetcher fetcher(options);
        QuoteJob* hanging = fetcher.fetch(sourceFor(*server), {u"300750"_s});
        QSignalSpy hangingSpy(hanging, &QuoteJob::finished);

        QVERIFY(waitFor(fetcher.fetch(sourceFor(*server), {u"600000"_s})).ok());
        QVERIFY(hangingSpy.isEmpty());
        QVERIFY(hangingSpy.wait(waitMs));
        QCOMPARE(hangingSpy.first().first().value<QuoteResult>().failure, QuoteFailure::TimedOut);
        QVERIFY(waitFor(fetcher.fetch(sourceFor(*server), {u"000001"_s})).ok());
    }

    void cancelEndsTheJobOnce()
    {
        QuoteServerOptions serverOptions;
        serverOptions.answer = Answer::Hang;
        auto server = startServer(serverOptions);
        QuoteFetcher fetcher;
        QPointer<QuoteJob> job = fetcher.fetch(sourceFor(*server), {u"600000"_s});
        QSignalSpy spy(job.data(), &QuoteJob::finished);
        job->cancel();
        job->cancel();
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.first().first().value<QuoteResult>().failure, QuoteFailure::Cancelled);
        QTRY_VERIFY(job.isNull()); // it deletes itself
    }

    void destroyingTheFetcherInFlightEndsCleanly()
    {
        QuoteServerOptions serverOptions;
        serverOptions.answer = Answer::Hang;
        auto server = startServer(serverOptions);
        auto fetcher = std::make_unique<QuoteFetcher>();
        QPointer<QuoteJob> job = fetcher->fetch(sourceFor(*server), {u"600000"_s});
        QSignalSpy spy(job.data(), &QuoteJob::finished);
        QTRY_COMPARE(server->requests().size(), 1);
        fetcher.reset();
        QVERIFY(job.isNull());
        QTest::qWait(50); // whatever was queued runs against nothing
        QVERIFY(spy.isEmpty());
    }

    void sequentialRunFetchesInOrderAndSkipsWhatItHas()
    {
        auto server = startServer();
        SequentialQuoteRun run(sourceFor(*server), {}, std::chrono::milliseconds(20));
        QStringList lines; // the list being filled
        run.setSkip([&lines](const QStringList& codes) { return alreadyFetched(codes[0], lines); });
        connect(
            &run, &SequentialQuoteRun::requestFinished, this,
            [&lines](const QStringList&, const QuoteResult& result) { lines += result.records; });
        QSignalSpy finished(&run, &SequentialQuoteRun::finished);
        QSignalSpy started(&run, &SequentialQuoteRun::started);
        run.start({u"600000"_s, u"000001"_s, u"600000"_s, u"300750"_s});
        QCOMPARE(started.size(), 1);
        QVERIFY(run.isRunning());
        QVERIFY(finished.wait(waitMs));
        QCOMPARE(finished.first().first().toBool(), true);
        QCOMPARE(lines.size(), 3);
        QStringList targets;
        for (const auto& request : server->requests())
            targets.append(QString::fromLatin1(request.target));
        QCOMPARE(targets, (QStringList{u"/htmdata/html/600000.htm"_s, u"/htmdata/html/000001.htm"_s,
                                       u"/htmdata/html/300750.htm"_s}));
    }

    void sequentialRunStopsWhereTheCallerStops()
    {
        QuoteServerOptions serverOptions;
        serverOptions.byCode.insert(u"000001"_s, Answer::Error);
        auto server = startServer(serverOptions);
        SequentialQuoteRun run(sourceFor(*server), {}, std::chrono::milliseconds(20));
        connect(&run, &SequentialQuoteRun::requestFinished, &run,
                [&run](const QStringList&, const QuoteResult& result) {
                    if (!result.ok())
                        run.stop();
                });
        QSignalSpy finished(&run, &SequentialQuoteRun::finished);
        QSignalSpy each(&run, &SequentialQuoteRun::requestFinished);
        run.start({u"600000"_s, u"000001"_s, u"300750"_s});
        QVERIFY(finished.wait(waitMs));
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(each.size(), 2);
        QCOMPARE(server->requests().size(), 2);
        QVERIFY(!run.isRunning());
    }

    void sequentialRunStoppedDuringAPauseSendsNothing()
    {
        auto server = startServer();
        SequentialQuoteRun run(sourceFor(*server), {}, std::chrono::milliseconds(200));
        QSignalSpy finished(&run, &SequentialQuoteRun::finished);
        run.start({u"600000"_s});
        run.stop();
        QCOMPARE(finished.size(), 1);
        QTest::qWait(300);
        QVERIFY(server->requests().isEmpty());
        QCOMPARE(finished.size(), 1);
    }

    void destroyingARunInFlightEndsCleanly()
    {
        QuoteServerOptions serverOptions;
        serverOptions.answer = Answer::Hang;
        auto server = startServer(serverOptions);
        auto run = std::make_unique<SequentialQuoteRun>(sourceFor(*server), FetchOptions{},
                                                        std::chrono::milliseconds(1));
        QSignalSpy each(run.get(), &SequentialQuoteRun::requestFinished);
        run->start({u"600000"_s, u"000001"_s});
        QTRY_COMPARE(server->requests().size(), 1);
        run.reset();
        QTest::qWait(50);
        QVERIFY(each.isEmpty());
        QCOMPARE(server->requests().size(), 1);
    }

    void sequentialRunOfNothingEndsAtOnce()
    {
        auto server = startServer();
        SequentialQuoteRun run(sourceFor(*server), {}, std::chrono::milliseconds(500));
        QSignalSpy finished(&run, &SequentialQuoteRun::finished);
        run.start({});
        QCOMPARE(finished.size(), 1);
        QVERIFY(!run.isRunning());
    }

    // The proxy path against a proxy nobody here wrote: Debian's tinyproxy on loopback.
    void throughTinyproxy()
    {
        const QString binary = QStandardPaths::findExecutable(u"tinyproxy"_s);
        if (binary.isEmpty())
            QSKIP("tinyproxy is not installed (scripts/setup installs it)");
        quint16 port = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            port = probe.serverPort();
        }
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile config(dir.filePath(u"tinyproxy.conf"_s));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("Port " + QByteArray::number(port) +
                     "\nListen 127.0.0.1\nTimeout 30\nAllow 127.0.0.1\nMaxClients 4\n"
                     "LogLevel Warning\n");
        config.close();

        QProcess tinyproxy;
        tinyproxy.setProcessChannelMode(QProcess::MergedChannels);
        tinyproxy.start(binary, {u"-d"_s, u"-c"_s, config.fileName()});
        QVERIFY2(tinyproxy.waitForStarted(), qPrintable(tinyproxy.errorString()));
        const auto stop = qScopeGuard([&tinyproxy] {
            tinyproxy.terminate();
            if (!tinyproxy.waitForFinished(3000))
                tinyproxy.kill();
        });
        QTRY_VERIFY_WITH_TIMEOUT(
            [port] {
                QTcpSocket socket;
                socket.connectToHost(QHostAddress::LocalHost, port);
                return socket.waitForConnected(200);
            }(),
            5000);

        auto server = startServer();
        FetchOptions options;
        options.proxy = {u"127.0.0.1"_s, port};
        QuoteFetcher fetcher(options);
        const QuoteResult result = waitFor(fetcher.fetch(sourceFor(*server), {u"600000"_s}));
        QVERIFY2(result.ok(), tinyproxy.readAll().constData());
        QVERIFY(result.records[0].startsWith(u"600000,"_s));
        QCOMPARE(server->requests().size(), 1);
        QVERIFY(server->requests()[0].headers.value("via").contains("tinyproxy"));
        QCOMPARE(server->requests()[0].headers.value("user-agent"),
                 "Mozilla/3.0 (compatible; Indy Library)");
    }
};

QTEST_GUILESS_MAIN(QuoteFetchTest)
#include "QuoteFetchTest.moc"
