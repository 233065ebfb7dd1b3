#pragma once

// Why a headless pick or click was refused.
enum class EPickResult { Done, Disabled, NotOffered };
