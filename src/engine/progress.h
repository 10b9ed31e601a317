// The engine's side of progress and cancel. A front end supplies a factory; the
// engine makes one progress object per mode call (the "Searching ..." dialog on
// the desktop, a bar on standard error in plix-cli, a scripted cancel in tests).
#pragma once

#include <memory>
#include <string>

namespace plix {

class CProgress
{
public:
    virtual ~CProgress() = default;
    // Shows the progress display; false when it cannot be shown.
    virtual bool Create() { return true; }
    virtual void SetStatus(const std::string& /*text*/) {}
    // Called once per line read: keep it cheap (poll, redraw by time).
    virtual void SetPos(int /*percent*/) {}
    virtual bool IsCancelled() { return false; }
};

class CProgressFactory
{
public:
    virtual ~CProgressFactory() = default;
    virtual std::unique_ptr<CProgress> Make() = 0;
};

// Shows nothing and never cancels.
class CSilentProgressFactory : public CProgressFactory
{
public:
    std::unique_ptr<CProgress> Make() override { return std::make_unique<CProgress>(); }
};

}  // namespace plix
