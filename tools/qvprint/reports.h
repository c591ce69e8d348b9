// The reports the print program knows, by the job's report name, each made into pages.
#pragma once

#include <string>
#include <vector>

#include "suite/records/print_job.h"
#include "tools/qvprint/page_items.h"

// The job's report name as stored: the field up to its first zero.
std::string ReportNameOf(const PrintJobRecord& job);

// The pages of the job. False, with a reason for the user, when the report is unknown or its
// data is gone; the practice tables are loaded again first, so that a setup change made since
// the last job shows.
bool MakeReportPages(const PrintJobRecord& job, const PageMetrics& m, std::vector<Page>* pages, std::string* reason);

// Where the pages of a job go when written to files: page 1 to file itself, page n to file with
// "-n" before its extension ("day.emf", "day-2.emf").
std::string PageFileName(const std::string& file, int page_number);
// The file a job gets when a running print program writes every job it takes to files: the
// job's record number after the name ("out.png" -> "out-job7.png").
std::string JobFileName(const std::string& file, uint32_t position);
// "png" or "emf" (lower case) of a file name, else "".
std::string OutputKind(const std::string& file);
