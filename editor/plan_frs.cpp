// FRS, the Family Radio Service of the United States.
//
// Sources:
// - 47 CFR Part 95 Subpart B as amended by the Report and Order FCC 17-57
//   (WT Docket No. 10-119, adopted 18 May 2017): section 95.563 lists the 22
//   channels (1-7: 462.5625-462.7125 MHz, 8-14: 467.5625-467.7125 MHz,
//   15-22: 462.5500-462.7250 MHz, 25 kHz apart within each group), 95.567
//   the power (2 W e.r.p. on channels 1-7 and 15-22, 0.5 W on 8-14), 95.573
//   the 12.5 kHz authorized bandwidth; the subpart also asks for an antenna
//   the user cannot remove and forbids repeaters.
// Published summaries of the 2017 rules agree on the power by channel group
// and the 12.5 kHz bandwidth; the channel table is section 95.563's, whose
// numbering the 2017 rules kept.
#include "editor/channel_plan.h"

namespace quorim {

ChannelPlan FrsPlan() {
    ChannelPlan plan;
    plan.name = "frs";
    plan.title = QUORIM_TR("Quorim", "FRS 家庭无线电业务（美国）");
    plan.simplex = true;
    plan.bandwidth = PlanBandwidth::Narrow;
    plan.powerLimit = QUORIM_TR("Quorim", "2 W（有效辐射功率），信道 8-14 为 0.5 W；天线不可拆卸");
    plan.source = "47 CFR 95.563, 95.567, 95.573 (FCC 17-57, adopted 18 May 2017)";
    // 10 Hz units, in channel order.
    for (const long long f : {46256250LL, 46258750LL, 46261250LL, 46263750LL, 46266250LL, 46268750LL,
                              46271250LL,  // 1-7
                              46756250LL, 46758750LL, 46761250LL, 46763750LL, 46766250LL, 46768750LL,
                              46771250LL,  // 8-14
                              46255000LL, 46257500LL, 46260000LL, 46262500LL, 46265000LL, 46267500LL,
                              46270000LL, 46272500LL}) {  // 15-22
        plan.channels.push_back({f, f});
    }
    return plan;
}

}  // namespace quorim
