// China's public walkie-talkie service (公众对讲机), 409 MHz.
//
// Sources:
// - 信息产业部《关于公众对讲机管理有关问题的通知》（信部无〔2001〕869号，
//   2001年10月23日）: twenty channels, 409.7500 to 409.9875 MHz on a
//   12.5 kHz raster, simplex, at most 0.5 W; no licence or fee; type-approved
//   equipment whose frequencies, power and antenna the user may not change.
// - 工业和信息化部《关于150MHz、400MHz频段专用对讲机频率规划和使用管理有关
//   事宜的通知》（2011年12月12日）: 409.75-409.9875 MHz stays with the public
//   walkie-talkie service under the 2001 notice.
// The twenty frequencies agree with published lists of the service's
// channels.
#include "editor/channel_plan.h"

namespace quorim {

ChannelPlan Cn409Plan() {
    ChannelPlan plan;
    plan.name = "cn409";
    plan.title = QUORIM_TR("Quorim", "公众对讲机（中国，409 MHz）");
    plan.simplex = true;
    plan.bandwidth = PlanBandwidth::Narrow;
    plan.powerLimit = QUORIM_TR("Quorim", "0.5 W，型号核准的设备，不得外接或改换天线");
    plan.source = "信部无〔2001〕869号，2001年10月23日；工业和信息化部通知，2011年12月12日";
    // 10 Hz units: 409.7500 MHz up in 12.5 kHz steps.
    for (const long long f :
         {40975000LL, 40976250LL, 40977500LL, 40978750LL, 40980000LL, 40981250LL, 40982500LL,
          40983750LL, 40985000LL, 40986250LL, 40987500LL, 40988750LL, 40990000LL, 40991250LL,
          40992500LL, 40993750LL, 40995000LL, 40996250LL, 40997500LL, 40998750LL}) {
        plan.channels.push_back({f, f});
    }
    return plan;
}

}  // namespace quorim
