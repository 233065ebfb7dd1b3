#pragma once

// The ids of the form view's dialog templates as the tests expect them, written out rather than
// taken from the code under test. The controls on them go by their IDC_ names.
inline constexpr int kSystemFormId = 2700;
inline constexpr int kBoardFormId = 3000;
inline constexpr int kPortFormId = 3001;
