#pragma once
// What a batch does with one entry: the converters of its kind, its results
// staged and put in place together, and the entry's outcome.
#include <functional>
#include <string>

#include "Converters.h"
#include "FileList.h"

// The final result paths (without extension) of an entry, and whether they
// replace existing results (the clash policy overwrites).
struct EntryNames {
  std::wstring main;
  std::wstring companion;
  bool replace = false;
};

enum class EntryResult { Done, Empty, Skipped, Failed };

struct EntryOutcome {
  EntryResult result = EntryResult::Skipped;
  long status = 0;  // the converter's result (a library status, or kEmptyResult)
};

// The outcome of a converter's result.
EntryOutcome OutcomeOf(long result);

// Result of an entry whose conversion ended in an exception.
constexpr long kUnexpectedError = -9998;

// Converts one entry: `in` carries the run's options, colours and the
// entry's log; the converters write into a staging of their own.
using EntryConverter =
    std::function<EntryOutcome(const FileNode& node, const EntryNames& names, bool labelsOnly, const ConverterInputs& in)>;

// The converters of the entry's kind: a point file (sub-pictures and
// annotations when split), a line, polygon (and its arcs), network (and its
// nodes) or table file, or a project as a layer index. The results are put
// in place when every one could be written; a write failure of any of them
// fails the entry and leaves none.
EntryOutcome ConvertEntry(const FileNode& node, const EntryNames& names, bool labelsOnly, const ConverterInputs& in);
