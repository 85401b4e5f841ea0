#pragma once

#include "app/DesktopServices.h"

#include <QList>
#include <QUrl>

// Records what a window asks of the desktop and answers as told.
class FakeDesktopServices : public corvanta::app::DesktopServices {
public:
    bool openUrl(const QUrl& url) override
    {
        openedUrls.append(url);
        return urlOpens;
    }
    bool startCalculator() override
    {
        ++calculatorStarts;
        return calculatorInstalled;
    }

    bool urlOpens = true;
    bool calculatorInstalled = true;
    QList<QUrl> openedUrls;
    int calculatorStarts = 0;
};
