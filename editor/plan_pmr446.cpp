// PMR446, the licence-exempt service of Europe (and of many countries that
// follow CEPT), analogue channels.
//
// Sources:
// - ECC Decision (15)05 of 3 July 2015, "The harmonised frequency range
//   446.0-446.2 MHz, technical characteristics, exemption from individual
//   licensing and free carriage and use of analogue and digital PMR 446
//   applications" (repealing ERC/DEC/(98)25 and ECC/DEC/(05)12): analogue
//   PMR 446 in 446.0-446.2 MHz on a 12.5 kHz channel plan whose first carrier
//   is 446.00625 MHz; hand-portable equipment with an integral antenna only,
//   at most 500 mW e.r.p.; no base station or repeater use.
// - Commission Implementing Decision (EU) 2017/1483 of 8 August 2017, amending
//   Decision 2006/771/EC on short-range devices: the same band and limit.
// The list agrees with the eight channels of the original 446.0-446.1 MHz
// allocation as national information sheets listed them (446.00625 to
// 446.09375 MHz) and with published lists of the sixteen.
#include "editor/channel_plan.h"

namespace quorim {

ChannelPlan Pmr446Plan() {
    ChannelPlan plan;
    plan.name = "pmr446";
    plan.title = QUORIM_TR("Quorim", "PMR446（欧洲，免执照）");
    plan.simplex = true;
    plan.bandwidth = PlanBandwidth::Narrow;
    plan.powerLimit = QUORIM_TR("Quorim", "0.5 W（有效辐射功率），仅限一体化天线的手持机");
    plan.source =
        "ECC Decision (15)05, 3 July 2015; Commission Implementing Decision (EU) 2017/1483, 8 August 2017";
    // 10 Hz units: 446.00625 MHz up in 12.5 kHz steps.
    for (const long long f :
         {44600625LL, 44601875LL, 44603125LL, 44604375LL, 44605625LL, 44606875LL, 44608125LL, 44609375LL,
          44610625LL, 44611875LL, 44613125LL, 44614375LL, 44615625LL, 44616875LL, 44618125LL, 44619375LL}) {
        plan.channels.push_back({f, f});
    }
    return plan;
}

}  // namespace quorim
