#pragma once

// Why a pick of an entry or a click of a check box, as a person makes it, was refused.
enum class EPickResult { Done, Disabled, NotOffered };
