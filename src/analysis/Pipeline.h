#pragma once

// The preparation pipeline: from a loaded segment table to a processed one (name list and
// totals, threshold removal, ordering, per-chromosome tables, overlap marks, colours,
// display formatting, the counts in the status label).

namespace velt {

struct SharedState;
class Host;

void ProcessFile(SharedState& state, Host& host);

void BuildNameList(SharedState& state);
void UpdateChromosomeLengths(SharedState& state);
void IndexChromosomeRows(SharedState& state);
void MarkOverlaps(SharedState& state, Host& host);
void DeleteNonMatching(SharedState& state);

} // namespace velt
