#pragma once

#include <QString>

#include <functional>

// What a listing download run is given: the page fetcher (the page text, empty when the page
// could not be fetched) and the stop request of its thread.
using PageFetcher = std::function<QString(const QString& url)>;
using StopCheck = std::function<bool()>;

// Progress and log hand-overs of a run; any may be empty.
struct ListingDownloadCallbacks
{
    std::function<void(int maximum)> initProgress;
    std::function<void()> stepProgress;
    std::function<void(const QString& line)> logMessage;
};
