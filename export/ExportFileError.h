#pragma once

#include <QString>

#include <stdexcept>

class QFileDevice;

// The one place where the export's file errors get their words: what failed
// and on which path, then why, as the system said it right after the failing
// call (errno). A full disk, a used-up quota, a file over the size limit and
// a failing disk say so plainly; the toolkit's own text, which is often just
// "Unknown error" after a failed flush, is only the last resort.

// "<action> <path>: <reason>.", e.g. "can not write /a/b.pdf: the disk is full
// (No space left on device)."; osError 0 takes fallback as the reason.
std::runtime_error exportFileError(const char* action, const QString& path, int osError,
                                   const QString& fallback = QString());
// "can not write <file>: <reason>." for a file whose open, write, flush or
// close just failed; osError is errno, read before anything else was called.
std::runtime_error exportWriteError(const QFileDevice& file, int osError);
// The reason in words for an errno value; empty for 0.
QString osErrorWords(int osError);
