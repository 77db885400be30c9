#include "cli/DistributionCommand.h"

#include <chrono>
#include <cstdio>

#include "cli/CliSupport.h"
#include "cli/ProgressLine.h"
#include "core/WideText.h"
#include "engine/EquityDistribution.h"

namespace ferrox::cli {

DistributionCommand::DistributionCommand(CLI::App& app) {
  command_ = app.add_subcommand("distribution", "Spread of Hero's equity over the next street's cards");
  options_.AddTo(command_, true);
}

int DistributionCommand::Run() const {
  HandsInput hands;
  RequestData request;
  int exitCode = kExitOk;
  if (!options_.Validate(hands, request, exitCode)) return exitCode;

  const StreetSettings settings = options_.Settings();
  const auto start = std::chrono::steady_clock::now();
  Distribution d;
  std::string error;
  const RunOutcome outcome = RunWithProgress("distribution", [&](Progress& progress) {
    d = ComputeDistribution(request, options_.Rules(), settings.enumerate, settings.runs, options_.seed, &progress);
  }, &error);
  if (outcome != RunOutcome::Done) return ReportOutcome(outcome, error);
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const auto points = DistributionCurve(d);
  const CurveStyle style = CurveStyleFor(static_cast<int>(options_.Board().size()));
  if (options_.json) {
    Json curve = Json::array();
    for (const ChartPoint& p : points) curve.push_back({p.x, p.y});
    char colour[8];
    std::snprintf(colour, sizeof colour, "#%02X%02X%02X", style.colour & 0xFF, (style.colour >> 8) & 0xFF,
                  (style.colour >> 16) & 0xFF);
    Print(Json{{"name", ToUtf8(style.name)},
               {"colour", colour},
               {"deals", d.deals},
               {"histogram", d.histogram},
               {"points", curve},
               {"ms", ms}});
    return kExitOk;
  }
  std::printf("%s: %d deals\n", ToUtf8(style.name).c_str(), d.deals);
  for (const ChartPoint& p : points) std::printf("%5.1f %5.1f\n", p.x, p.y);
  return kExitOk;
}

}  // namespace ferrox::cli
