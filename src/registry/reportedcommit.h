#pragma once

class CHiveBatch;

// Commits a batch at the end of a user action. A store that could not be written is reported as
// "Unable to write to registry"; a batch lost for another reason has been reported where that
// arose. true when the batch's operations were kept (or joined the outer batch).
bool CommitReported(CHiveBatch& batch);
