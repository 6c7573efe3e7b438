// The id of a general-ledger account.
#pragma once

#include <cstdint>
#include <string>

// Sets id to the [Countt] of the first [KH_KONTA] row of year rok whose four segments
// NR_K_1 to NR_K_4 are k1 to k4, the lowest Countt of an account that the chart holds
// twice; 0 when there is none.
void ID_konta(const std::string& k1, const std::string& k2, const std::string& k3,
              const std::string& k4, int32_t& id, int32_t rok);
