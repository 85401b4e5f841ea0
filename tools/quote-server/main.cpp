// A local quote server for trying Corvanta without the real quote service.
#include "quote-server/QuoteServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>

using namespace Qt::StringLiterals;
using corvanta::tools::Answer;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Serves quotes of the shipped stocks as the quote page, Sina or Tencent serve them."_s);
    parser.addHelpOption();
    const QCommandLineOption port(u"port"_s, u"Port on 127.0.0.1 (default 18080)."_s, u"port"_s,
                                  u"18080"_s);
    const QCommandLineOption delay(u"delay"_s, u"Wait this many ms before each answer."_s, u"ms"_s,
                                   u"0"_s);
    const QCommandLineOption fail(u"fail"_s, u"Close the connection for these codes."_s,
                                  u"codes"_s);
    const QCommandLineOption hang(u"hang"_s, u"Never answer for these codes."_s, u"codes"_s);
    const QCommandLineOption oneLine(u"one-line"_s, u"Answer with the title line only."_s);
    const QCommandLineOption httpError(u"http-error"_s,
                                       u"Answer every page with this HTTP status."_s, u"status"_s);
    const QCommandLineOption layout(
        u"source"_s,
        u"Answer like this source: page (/htmdata/html/<code>.htm), sina (/list=...) or "
        u"tencent (/q=...)."_s,
        u"source"_s, u"page"_s);
    const QCommandLineOption split(u"split"_s, u"Send every reply in two pieces."_s);
    const QCommandLineOption empty(u"empty"_s, u"Answer every request with an empty body."_s);
    parser.addOptions({port, delay, fail, hang, oneLine, httpError, layout, split, empty});
    parser.process(app);

    corvanta::tools::QuoteServerOptions options;
    const QString source = parser.value(layout);
    if (source == u"sina"_s) {
        options.layout = corvanta::tools::Layout::Sina;
    } else if (source == u"tencent"_s) {
        options.layout = corvanta::tools::Layout::Tencent;
    } else if (source != u"page"_s) {
        std::fprintf(stderr, "quote-server: --source is page, sina or tencent\n");
        return 1;
    }
    options.splitReply = parser.isSet(split);
    if (parser.isSet(empty))
        options.answer = Answer::Empty;
    options.delay = std::chrono::milliseconds(parser.value(delay).toInt());
    options.seed = quint32(QDateTime::currentMSecsSinceEpoch());
    if (parser.isSet(oneLine))
        options.answer = Answer::OneLine;
    if (parser.isSet(httpError)) {
        options.answer = Answer::Error;
        options.errorStatus = parser.value(httpError).toInt();
    }
    const auto mark = [&options](const QString& codes, Answer answer) {
        for (const QString& code : codes.split(u',', Qt::SkipEmptyParts))
            options.byCode.insert(code.trimmed(), answer);
    };
    mark(parser.value(fail), Answer::Drop);
    mark(parser.value(hang), Answer::Hang);

    corvanta::tools::QuoteServer server(corvanta::tools::shippedStocks(), options);
    if (!server.listen(QHostAddress::LocalHost, quint16(parser.value(port).toUInt()))) {
        std::fprintf(stderr, "quote-server: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    const char* path = options.layout == corvanta::tools::Layout::Sina ? "/list=<codes>"
                       : options.layout == corvanta::tools::Layout::Tencent
                           ? "/q=<codes>"
                           : "/htmdata/html/<code>.htm";
    std::printf("quote-server: serving %s%s\n", qPrintable(server.address().toString()), path);
    std::fflush(stdout);
    return app.exec();
}
