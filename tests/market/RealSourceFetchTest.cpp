#include "LoopbackQuotes.h"
#include "ledger/LedgerFile.h"
#include "ledger/QuoteSourceSetting.h"
#include "market/QuoteFetcher.h"
#include "market/QuoteSnapshot.h"
#include "market/QuoteSourceChoice.h"
#include "market/SequentialQuoteRun.h"
#include "market/SingleQuoteWorker.h"
#include "market/TencentQuoteSource.h"
#include "quote-server/QuoteServer.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
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

QString codeOf(const QString& record)
{
    return record.section(u',', 0, 0);
}

// The codes a real source's request asked for, without their market prefixes.
QStringList askedCodes(const corvanta::tools::ReceivedRequest& request)
{
    const QString target = QString::fromLatin1(request.target);
    QStringList codes;
    for (const QString& key : target.section(u'=', 1).split(u',', Qt::SkipEmptyParts))
        codes.append(key.right(6));
    return codes;
}

} // namespace

class RealSourceFetchTest : public QObject {
    Q_OBJECT

private:
    // Both real sources' fakes and a choice pointing at them.
    struct Fakes {
        std::unique_ptr<QuoteServer> sina;
        std::unique_ptr<QuoteServer> tencent;
        std::unique_ptr<QuoteSourceChoice> choice;
    };
    Fakes fakes(QuoteSourceKind kind, QuoteServerOptions sinaOptions = {},
                QuoteServerOptions tencentOptions = {})
    {
        Fakes f;
        f.sina = startServer(Layout::Sina, sinaOptions);
        f.tencent = startServer(Layout::Tencent, tencentOptions);
        f.choice = std::make_unique<QuoteSourceChoice>(
            kind,
            QuoteHosts{QUrl(u"http://127.0.0.1:1"_s), f.sina->address(), f.tencent->address()},
            testPause);
        return f;
    }

private Q_SLOTS:
    void eachSourceGivesTheRecordOfItsReply_data()
    {
        QTest::addColumn<QuoteSourceKind>("kind");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("split");
        QTest::addColumn<QString>("record");
        const QString sinaRecord = u"600000,2022-11-11,15:00:00,6.94,402370,0.16,2.36,6.897,"
                                   u"40237053,277525770.000,-,-,6.78,6.83,6.98,6.83"_s;
        const QString tencentRecord = u"600123,2023-02-17,15:59:38,13.40,177065,0.21,1.59,"
                                      u"13.412,17706500,237476740,95758,81308,13.19,13.20,"
                                      u"13.53,13.20"_s;
        QTest::newRow("新浪") << QuoteSourceKind::Sina << u"600000"_s << false << sinaRecord;
        QTest::newRow("新浪, reply in pieces")
            << QuoteSourceKind::Sina << u"600000"_s << true << sinaRecord;
        QTest::newRow("腾讯") << QuoteSourceKind::Tencent << u"600123"_s << false << tencentRecord;
        QTest::newRow("腾讯, reply in pieces")
            << QuoteSourceKind::Tencent << u"600123"_s << true << tencentRecord;
    }

    void eachSourceGivesTheRecordOfItsReply()
    {
        QFETCH(QuoteSourceKind, kind);
        QFETCH(QString, code);
        QFETCH(bool, split);
        QFETCH(QString, record);
        QuoteServerOptions options;
        options.splitReply = split;
        Fakes f = fakes(kind, options, options);
        QuoteFetcher fetcher;
        const QuoteResult result = waitFor(fetcher.fetch(f.choice->source(), {code}));
        QVERIFY(result.ok());
        QCOMPARE(result.records, QStringList{record});
        QCOMPARE(result.source, f.choice->name());

        const QuoteServer& asked = kind == QuoteSourceKind::Sina ? *f.sina : *f.tencent;
        QCOMPARE(asked.requests().size(), 1);
        const corvanta::tools::ReceivedRequest& request = asked.requests()[0];
        QCOMPARE(request.target,
                 (kind == QuoteSourceKind::Sina ? "/list=sh" : "/q=sh") + code.toLatin1());
        QVERIFY(request.headers.value("user-agent").startsWith("Mozilla/5.0 ("));
        if (kind == QuoteSourceKind::Sina)
            QCOMPARE(request.headers.value("referer"), "https://finance.sina.com.cn/");
    }

    void sinaRefusesARequestWithoutReferer()
    {
        auto server = startServer(Layout::Sina);
        QNetworkAccessManager manager;
        QUrl url = server->address();
        url.setPath(u"/list=sh600000"_s);
        QNetworkReply* reply = manager.get(QNetworkRequest(url));
        QSignalSpy finished(reply, &QNetworkReply::finished);
        QVERIFY(finished.wait(waitMs));
        QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 403);
        QCOMPARE(reply->readAll(), "Kinsoku jikou desu!");
        reply->deleteLater();
    }

    void theOtherSourceStandsInOnce_data()
    {
        QTest::addColumn<QuoteSourceKind>("kind");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("answeredBy");
        QTest::addColumn<int>("standInRequests");
        QTest::addColumn<int>("chosenRequests");
        QTest::newRow("新浪 answers")
            << QuoteSourceKind::Sina << int(Answer::Page) << u"新浪"_s << 0 << 1;
        QTest::newRow("新浪 refuses")
            << QuoteSourceKind::Sina << int(Answer::Error) << u"腾讯"_s << 1 << 1;
        QTest::newRow("新浪 answers empty")
            << QuoteSourceKind::Sina << int(Answer::Empty) << u"腾讯"_s << 1 << 1;
        // Qt sends a request whose connection closed without a reply once more, on a
        // new connection, before it gives up.
        QTest::newRow("新浪 closes without a reply")
            << QuoteSourceKind::Sina << int(Answer::Drop) << u"腾讯"_s << 1 << 2;
        QTest::newRow("新浪 answers outside its layout")
            << QuoteSourceKind::Sina << int(Answer::OneLine) << u"腾讯"_s << 1 << 1;
        QTest::newRow("腾讯 refuses")
            << QuoteSourceKind::Tencent << int(Answer::Error) << u"新浪"_s << 1 << 1;
        QTest::newRow("腾讯 answers empty")
            << QuoteSourceKind::Tencent << int(Answer::Empty) << u"新浪"_s << 1 << 1;
    }

    void theOtherSourceStandsInOnce()
    {
        QFETCH(QuoteSourceKind, kind);
        QFETCH(int, answer);
        QFETCH(QString, answeredBy);
        QFETCH(int, standInRequests);
        QFETCH(int, chosenRequests);
        QuoteServerOptions failing;
        failing.answer = Answer(answer);
        failing.errorStatus = 403;
        Fakes f =
            kind == QuoteSourceKind::Sina ? fakes(kind, failing, {}) : fakes(kind, {}, failing);
        QSignalSpy answered(f.choice.get(), &QuoteSourceChoice::answered);
        QuoteFetcher fetcher;
        const QuoteResult result = waitFor(fetcher.fetch(f.choice->source(), {u"000002"_s}));
        QVERIFY(result.ok());
        QCOMPARE(codeOf(result.records.value(0)), u"000002"_s);
        QCOMPARE(result.source, answeredBy);
        QCOMPARE(f.choice->lastAnswered(), answeredBy);
        QCOMPARE(answered.size(), 1);
        QCOMPARE(answered.first().first().toString(), answeredBy);
        const QuoteServer& chosen = kind == QuoteSourceKind::Sina ? *f.sina : *f.tencent;
        const QuoteServer& standIn = kind == QuoteSourceKind::Sina ? *f.tencent : *f.sina;
        QCOMPARE(chosen.requests().size(), chosenRequests);
        QCOMPARE(standIn.requests().size(), standInRequests);
    }

    void bothSourcesFailingIsOneFailure_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QuoteFailure>("failure");
        QTest::newRow("both refuse") << int(Answer::Error) << QuoteFailure::HttpStatus;
        QTest::newRow("both empty") << int(Answer::Empty) << QuoteFailure::EmptyReply;
    }

    void bothSourcesFailingIsOneFailure()
    {
        QFETCH(int, answer);
        QFETCH(QuoteFailure, failure);
        QuoteServerOptions failing;
        failing.answer = Answer(answer);
        Fakes f = fakes(QuoteSourceKind::Sina, failing, failing);
        QuoteFetcher fetcher;
        const QuoteResult result = waitFor(fetcher.fetch(f.choice->source(), {u"600000"_s}));
        QCOMPARE(result.failure, failure);
        QCOMPARE(result.source, u"腾讯"_s);
        QCOMPARE(f.sina->requests().size(), 1);
        QCOMPARE(f.tencent->requests().size(), 1);
        QVERIFY(f.choice->lastAnswered().isEmpty());
    }

    void unknownCodesAreNoRecordOnEitherSource()
    {
        Fakes f = fakes(QuoteSourceKind::Sina);
        QuoteFetcher fetcher;
        const QuoteResult result = waitFor(fetcher.fetch(f.choice->source(), {u"160923"_s}));
        QCOMPARE(result.failure, QuoteFailure::ShortReply);
        QCOMPARE(f.tencent->requests().size(), 1); // v_pv_none_match there too
    }

    void aTimeOutIsNotAskedAgainElsewhere()
    {
        QuoteServerOptions silent;
        silent.answer = Answer::Hang;
        Fakes f = fakes(QuoteSourceKind::Sina, silent, {});
        FetchOptions options;
        options.transferTimeout = std::chrono::milliseconds(300);
        QuoteFetcher fetcher(options);
        QCOMPARE(waitFor(fetcher.fetch(f.choice->source(), {u"600000"_s})).failure,
                 QuoteFailure::TimedOut);
        QVERIFY(f.tencent->requests().isEmpty());
    }

    void refusalsDoubleThePauseUntilAGoodReply()
    {
        QuoteServerOptions refusing;
        refusing.answer = Answer::Error;
        refusing.errorStatus = 403;
        auto server = startServer(Layout::Tencent, refusing);
        QElapsedTimer clock;
        clock.start();
        QList<qint64> arrivals;
        connect(server.get(), &QuoteServer::requestReceived, this,
                [&] { arrivals.append(clock.elapsed()); });
        QuoteSourceChoice choice(
            QuoteSourceKind::Tencent,
            {QUrl(u"http://127.0.0.1:1"_s), QUrl(u"http://127.0.0.1:1"_s), server->address()},
            testPause);
        SourceGate& gate = choice.gate(QuoteSourceKind::Tencent);
        QuoteFetcher fetcher;
        // Without the stand-in, so only this source's pace is seen.
        auto alone = std::make_shared<TencentQuoteSource>(server->address());
        alone->setGate(choice.source()->gate());

        QList<qint64> ends;
        for (const auto expected : {40, 80, 160}) {
            QCOMPARE(waitFor(fetcher.fetch(alone, {u"600000"_s})).failure,
                     QuoteFailure::HttpStatus);
            ends.append(clock.elapsed());
            QCOMPARE(gate.pause().count(), expected);
        }
        // Each request came at least the pause after the previous one ended.
        QCOMPARE(arrivals.size(), 3);
        QVERIFY2(arrivals[1] - ends[0] >= 40 - 2,
                 qPrintable(QString::number(arrivals[1] - ends[0])));
        QVERIFY2(arrivals[2] - ends[1] >= 80 - 2,
                 qPrintable(QString::number(arrivals[2] - ends[1])));

        QuoteServerOptions answering;
        answering.layout = Layout::Tencent;
        server->setOptions(answering);
        QVERIFY(waitFor(fetcher.fetch(alone, {u"600000"_s})).ok());
        QCOMPARE(gate.pause(), testPause);
    }

    void thePauseStopsDoublingAtAMinute()
    {
        SourceGate gate(u"新浪"_s, std::chrono::milliseconds(40000));
        QSignalSpy changed(&gate, &SourceGate::pauseChanged);
        bool firstSent = false;
        const SourceGate::Ticket first = gate.enqueue([&firstSent] { firstSent = true; });
        QVERIFY(firstSent); // nothing went before it
        gate.release(first, GateOutcome::Refused);
        QCOMPARE(gate.pause(), SourceGate::maxPause);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().first().toLongLong(), 60000);
        // The next request waits the whole minute.
        bool secondSent = false;
        const SourceGate::Ticket second = gate.enqueue([&secondSent] { secondSent = true; });
        QTest::qWait(50);
        QVERIFY(!secondSent);
        QCOMPARE(gate.waiting(), 1);
        gate.withdraw(second);
        QCOMPARE(gate.waiting(), 0);
    }

    void oneRequestAtATimeToASource()
    {
        QuoteServerOptions slow;
        slow.delay = std::chrono::milliseconds(150);
        Fakes f = fakes(QuoteSourceKind::Sina, slow, {});
        // As the single-stock fetch and a summary run would: two clients, one source.
        QuoteFetcher single;
        QuoteFetcher run;
        QuoteJob* first = single.fetch(f.choice->source(), {u"600000"_s});
        QuoteJob* second = run.fetch(f.choice->source(), {u"000002"_s});
        QSignalSpy firstDone(first, &QuoteJob::finished);
        QSignalSpy secondDone(second, &QuoteJob::finished);
        QVERIFY(firstDone.wait(waitMs));
        QCOMPARE(f.sina->requests().size(), 1);
        QVERIFY(secondDone.wait(waitMs));
        QCOMPARE(f.sina->requests().size(), 2);
        QVERIFY(secondDone.first().first().value<QuoteResult>().ok());

        // A fetch cancelled while it waits its turn gives the turn to the next one.
        QuoteJob* busy = single.fetch(f.choice->source(), {u"600000"_s});
        QTRY_VERIFY(f.choice->gate(QuoteSourceKind::Sina).isBusy());
        QPointer<QuoteJob> queued = run.fetch(f.choice->source(), {u"000002"_s});
        QuoteJob* last = single.fetch(f.choice->source(), {u"000001"_s});
        QCOMPARE(f.choice->gate(QuoteSourceKind::Sina).waiting(), 2);
        queued->cancel();
        QCOMPARE(f.choice->gate(QuoteSourceKind::Sina).waiting(), 1);
        QSignalSpy busyDone(busy, &QuoteJob::finished);
        QVERIFY(waitFor(last).ok());
        QCOMPARE(busyDone.size(), 1);
        QCOMPARE(askedCodes(f.sina->requests().last()), QStringList{u"000001"_s});
        QCOMPARE(f.sina->requests().size(), 4);
    }

    void aRealSourcesRunFillsTheListInTheCodesOrder()
    {
        Fakes f = fakes(QuoteSourceKind::Sina);
        // 230 listed codes, an unknown one inside and a code twice.
        QStringList codes;
        for (const auto& stock : corvanta::tools::shippedStocks().mid(0, 230))
            codes.append(stock.code);
        codes.insert(57, u"160923"_s);
        codes.insert(150, codes[3]);
        SequentialQuoteRun run(f.choice->source(), {}, std::chrono::milliseconds(10));
        QStringList lines;
        run.setSkip([&lines](const QStringList& one) { return alreadyFetched(one[0], lines); });
        connect(
            &run, &SequentialQuoteRun::requestFinished, this,
            [&lines](const QStringList&, const QuoteResult& result) { lines += result.records; });
        QSignalSpy finished(&run, &SequentialQuoteRun::finished);
        run.start(codes);
        QVERIFY(finished.wait(waitMs));
        QVERIFY(finished.first().first().toBool());

        QStringList expected = codes;
        expected.removeAt(150);
        expected.removeAt(57);
        QStringList got;
        for (const QString& line : lines)
            got.append(codeOf(line));
        QCOMPARE(got, expected);
        // In requests of at most 100 codes, the codes in their order.
        QCOMPARE(f.sina->requests().size(), 3);
        QStringList asked;
        for (const auto& request : f.sina->requests()) {
            QVERIFY(askedCodes(request).size() <= 100);
            asked += askedCodes(request);
        }
        codes.removeAt(150); // the second time, it was in the list already
        QCOMPARE(asked, codes);
        QVERIFY(f.tencent->requests().isEmpty());
    }

    void thePageStaysOneStockARequest()
    {
        auto server = startServer(Layout::Page);
        QuoteSourceChoice choice(
            QuoteSourceKind::Page,
            {server->address(), QUrl(u"http://127.0.0.1:1"_s), QUrl(u"http://127.0.0.1:1"_s)},
            testPause);
        QCOMPARE(choice.source()->codesPerRequest(), 1);
        QVERIFY(!choice.source()->fallback());
        SequentialQuoteRun run(choice.source(), {}, std::chrono::milliseconds(10));
        QStringList lines;
        connect(
            &run, &SequentialQuoteRun::requestFinished, this,
            [&lines](const QStringList&, const QuoteResult& result) { lines += result.records; });
        QSignalSpy finished(&run, &SequentialQuoteRun::finished);
        run.start({u"600000"_s, u"000002"_s, u"000001"_s});
        QVERIFY(finished.wait(waitMs));
        QCOMPARE(server->requests().size(), 3);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(choice.lastAnswered(), u"金融界"_s);
    }

    void theMainWindowsStockOnARealSource()
    {
        Fakes f = fakes(QuoteSourceKind::Sina);
        SingleQuoteWorker worker(f.choice->source());
        QSignalSpy finished(&worker, &SingleQuoteWorker::finished);
        SingleQuoteInputs inputs;
        inputs.codeInput = u"600000"_s;
        inputs.stockName = u"浦发银行"_s;
        QVERIFY(worker.start(inputs));
        QVERIFY(finished.wait(waitMs));
        const auto outcome = finished.first().first().value<SingleQuoteOutcome>();
        QCOMPARE(outcome.kind, SingleQuoteOutcome::Kind::Fetched);
        QCOMPARE(outcome.quote.price, u"6.94"_s);
        QVERIFY(outcome.quote.fields);
        QCOMPARE(outcome.quote.fields->previousClose, u"6.78"_s);
        QCOMPARE(outcome.quote.fields->activeBuy, u"-"_s);
        QCOMPARE(f.sina->requests().size(), 1);
    }

    void theChoiceTellsOfChangesOnly()
    {
        QuoteSourceChoice choice(QuoteSourceKind::Sina,
                                 {QUrl(u"http://127.0.0.1:1"_s), QUrl(u"http://127.0.0.1:2"_s),
                                  QUrl(u"http://127.0.0.1:3"_s)});
        QSignalSpy changed(&choice, &QuoteSourceChoice::sourceChanged);
        QCOMPARE(choice.source()->name(), u"新浪"_s);
        QCOMPARE(choice.source()->fallback()->name(), u"腾讯"_s);
        QCOMPARE(choice.gate(QuoteSourceKind::Sina).pause(), sourcePause);

        QVERIFY(choice.choose(u"腾讯"_s));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(choice.kind(), QuoteSourceKind::Tencent);
        QCOMPARE(choice.source()->name(), u"腾讯"_s);
        QCOMPARE(choice.source()->fallback()->name(), u"新浪"_s);
        // Both sources' requests pass one gate each, whoever asks them.
        QCOMPARE(choice.source()->gate().get(), &choice.gate(QuoteSourceKind::Tencent));
        QCOMPARE(choice.source()->fallback()->gate().get(), &choice.gate(QuoteSourceKind::Sina));

        QVERIFY(choice.choose(u"腾讯"_s));
        QVERIFY(!choice.choose(u"搜狐"_s));
        QVERIFY(!choice.choose(u"和讯"_s));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(choice.kind(), QuoteSourceKind::Tencent);

        QuoteHosts hosts = choice.hosts();
        hosts.tencent = QUrl(u"https://qt.example"_s);
        choice.setHosts(hosts);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(choice.source()->request({u"600000"_s}).url().toString(),
                 u"https://qt.example/q=sh600000"_s);
        QCOMPARE(answeringSourceText(u"腾讯"_s), u"行情来源:腾讯"_s);
    }

    void theChoiceSurvivesAReopenOfTheLedger()
    {
        using namespace corvanta::ledger;
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = ledgerPath(dir.path());
        const QList<SeedStock> seeds{{u"000000"_s, u"无名股票"_s, u"WMGP"_s},
                                     {u"600000"_s, u"浦发银行"_s, u"PFYX"_s}};
        {
            corvanta::sql::Database db = openLedger(path, seeds);
            // A new ledger holds no choice: Sina.
            QCOMPARE(quoteSourceFromSetting(loadQuoteSourceRow(db, QuoteSourceRow::Choice)),
                     QuoteSourceKind::Sina);
            QuoteSourceChoice choice(QuoteSourceKind::Sina, {});
            connect(&choice, &QuoteSourceChoice::sourceChanged, this, [&db, &choice] {
                saveQuoteSourceRow(db, QuoteSourceRow::Choice, choice.name());
            });
            choice.choose(u"金融界"_s);
            choice.choose(u"腾讯"_s);
            saveQuoteSourceRow(db, QuoteSourceRow::TencentHost, u"https://qt.example"_s);
        }
        corvanta::sql::Database db = openLedger(path, seeds);
        QCOMPARE(quoteSourceFromSetting(loadQuoteSourceRow(db, QuoteSourceRow::Choice)),
                 QuoteSourceKind::Tencent);
        QCOMPARE(loadQuoteSourceRow(db, QuoteSourceRow::TencentHost), u"https://qt.example"_s);
        QCOMPARE(db.scalarInt("SELECT count(*) FROM gpmc WHERE gpid = 'hqly'"), 1);
    }
};

QTEST_GUILESS_MAIN(RealSourceFetchTest)
#include "RealSourceFetchTest.moc"
