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
        u"Serves quote pages at /htmdata/html/<code>.htm for the shipped stocks."_s);
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
    parser.addOptions({port, delay, fail, hang, oneLine, httpError});
    parser.process(app);

    corvanta::tools::QuoteServerOptions options;
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
    std::printf("quote-server: serving %s/htmdata/html/<code>.htm\n",
                qPrintable(server.address().toString()));
    std::fflush(stdout);
    return app.exec();
}
