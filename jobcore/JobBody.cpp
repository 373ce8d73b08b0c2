#include "jobcore/JobBody.h"

#include "jobcore/JobProgress.h"

bool runJobBody(JobProgress* form, const std::function<void()>& work, const std::function<void()>& cleanUp,
                const JobErrorText& errorText)
{
    try {
        work();
        // The last progress goes out even when the work posted no verdict.
        form->postHeldProgress();
        return true;
    } catch (int) {
        if (cleanUp)
            cleanUp();
    } catch (const std::exception& e) {
        const std::optional<QString> text = errorText ? errorText(e) : QString::fromUtf8(e.what());
        if (cleanUp)
            cleanUp();
        if (text && !form->isCanceled())
            form->postErrorOccurred(*text);
    }
    return false;
}
