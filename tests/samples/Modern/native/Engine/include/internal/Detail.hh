#pragma once

namespace detail {}
