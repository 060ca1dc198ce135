#pragma once

namespace tarvane {

enum class AnnouncementKind { Hourly, HalfHour };

}  // namespace tarvane
