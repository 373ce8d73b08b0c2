#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <optional>

class JobProgress;

// The text a job posts for an exception that ended its work; an empty
// optional ends the job as quietly as a cancel.
using JobErrorText = std::function<std::optional<QString>(const std::exception&)>;

// Runs the work of a job's run() under the rule every job keeps. The work
// posts its own progress and success, and meets the user's cancel as the
// thrown integer -1 (JobProgress::throwIfCanceled). When the work throws:
//  1. for an exception, its text is taken first (errorText; by default its
//     what() as UTF-8), while what the text names is still there;
//  2. cleanUp undoes or closes the partial output: drops the open
//     transaction, removes staged files, lets go of the socket;
//  3. a cancel posts nothing; an error posts its text, unless the user has
//     cancelled meanwhile: the dialog is closed by then, and such an error
//     is mostly the cancel's own echo (a closed connection, a stopped adb).
// When the work ran to its end, the progress it left held back goes out.
// True when the work ran to its end.
bool runJobBody(JobProgress* form, const std::function<void()>& work, const std::function<void()>& cleanUp = {},
                const JobErrorText& errorText = {});
