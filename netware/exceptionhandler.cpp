#include "netware/exceptionhandler.h"

#include "netware/nwexception.h"
#include "netware/restartablethread.h"
#include "platform/shell/dialogservice.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace {

std::function<void()> g_pause;
std::function<void()> g_resume;
int g_depth = 0;

QString className(const std::type_info& type)
{
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
    return QString::fromUtf8(status == 0 && name ? name.get() : type.name());
}

QString codeLine(int32_t code)
{
    return QStringLiteral("\rCode: %1 (%2)")
        .arg(code)
        .arg(QString::number(uint32_t(code), 16).toUpper().rightJustified(4, u'0'));
}

// Pauses on the first of nested failures and resumes after the last, also when unwinding.
class PauseScope {
public:
    PauseScope()
    {
        if (g_depth == 0 && g_pause)
            g_pause();
        ++g_depth;
    }
    ~PauseScope()
    {
        if (--g_depth != 0 || !g_resume)
            return;
        try {
            g_resume();
        } catch (...) {
            qWarning("Resuming after a failure failed");
        }
    }
    PauseScope(const PauseScope&) = delete;
    PauseScope& operator=(const PauseScope&) = delete;
};

} // namespace

void ApplicationExceptionHandler::setPauseHooks(
    std::function<void()> pause, std::function<void()> resume)
{
    g_pause = std::move(pause);
    g_resume = std::move(resume);
}

void ApplicationExceptionHandler::clearPauseHooks()
{
    setPauseHooks({}, {});
}

ApplicationExceptionHandler::Description ApplicationExceptionHandler::describe(
    std::exception_ptr error)
{
    Description d;
    try {
        std::rethrow_exception(error);
    } catch (const TException& e) {
        d.message = e.message();
        d.details = QStringLiteral("Exception class: ") + className(typeid(e));
        if (const auto* nw = dynamic_cast<const TNWException*>(&e))
            d.details += codeLine(nw->code());
        else if (const auto* nds = dynamic_cast<const TNDSException*>(&e))
            d.details += codeLine(nds->code());
        d.details += QStringLiteral("\rHelp context: %1").arg(e.helpContext());
        d.plain = dynamic_cast<const TNWException*>(&e) || dynamic_cast<const TInputError*>(&e);
    } catch (const std::exception& e) {
        d.message = QString::fromUtf8(e.what());
        d.details = QStringLiteral("Exception class: ") + className(typeid(e));
    } catch (...) {
        d.message = QStringLiteral("An unknown error occurred.");
        d.details = QStringLiteral("The exception is of no known class.");
    }
    return d;
}

void ApplicationExceptionHandler::handle(std::exception_ptr error)
{
    if (!error)
        return;
    // The silent abort ends an action the administrator stopped himself: nothing to show.
    try {
        std::rethrow_exception(error);
    } catch (const EAbortPass&) {
        return;
    } catch (...) {
    }
    try {
        PauseScope pause;
        const Description d = describe(error);
        if (d.plain)
            shell::DialogService::instance().error(d.message);
        else
            shell::DialogService::instance().detailedError(d.message, d.details);
    } catch (const std::exception& e) {
        qWarning("Failure while showing a failure: %s", e.what());
    } catch (...) {
        qWarning("Failure while showing a failure");
    }
}
