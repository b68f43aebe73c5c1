// The playtest written out: lines for the terminal and a JSON document for editors and CI.
//
// The JSON object: "project"; "runs", "seed", "max_steps"; "start" (false: room 0 has no
// page and nothing was played); "readers": {"ended", "stuck", "out_of_steps", "mean_steps"};
// "exact": {"converged", "iterations", "bound", "ending_probability", "expected_steps"
// (null when some readers never stop or the computation did not converge)};
// "endings": [{"room", "description", "probability" (exact), "share" (sampled),
// "expected_steps" (null when never reached), "way" (room numbers from "0", empty when
// unreachable)}]; "traps": [{"kind" ("dead-end" or "loop"), "rooms", "probability",
// "share"}]; "never_seen": [room numbers]; "rooms": [{"room", "share"}] for every room
// with a page. Probabilities and shares are fractions from 0 to 1.
#pragma once

#include <string>
#include <string_view>

#include "check/link_graph.h"
#include "check/playtest.h"

namespace pm {

std::string playtest_report_lines(std::string_view project, const LinkGraph& graph, const PlaytestResult& result);
std::string playtest_report_json(std::string_view project, const LinkGraph& graph, const PlaytestResult& result);

// "12.5%" with up to `decimals` figures after the point, for people.
std::string percent_text(double fraction, int decimals = 1);

}  // namespace pm
