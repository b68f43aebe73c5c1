// The graph map through Graphviz (see graphviz_render.h).
#include "check/graphviz_render.h"

#include <graphviz/cgraph.h>
#include <graphviz/gvc.h>

#include <mutex>

namespace pm {

namespace {

std::mutex graphviz_lock;   // Graphviz's state is global: one call at a time
std::string graphviz_errors;  // what Graphviz reported during the current call

int collect_error(char* message) {
  if (graphviz_errors.size() < 1000) graphviz_errors += message;
  return 0;
}

// The context, made once: loading the plugins costs more than a small layout.
GVC_t* context() {
  static GVC_t* gvc = [] {
    agseterr(AGERR);  // warnings (a node that does not fit, ...) are not failures
    agseterrf(collect_error);
    return gvContext();
  }();
  return gvc;
}

std::string last_error(std::string_view fallback) {
  std::string e = graphviz_errors.empty() ? std::string(fallback) : graphviz_errors;
  while (!e.empty() && (e.back() == '\n' || e.back() == ' ')) e.pop_back();
  return e;
}

bool cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(); }

// A graph read from the drawing's DOT text and laid out, freed when it goes.
class LaidOutGraph {
 public:
  LaidOutGraph(const GraphDrawing& drawing, const std::atomic<bool>* cancel) : engine_(layout_engine_for(drawing)) {
    gvc_ = context();
    const std::string dot = graph_dot_text(drawing, engine_);
    if (cancelled(cancel)) return;
    if (!gvc_) {
      error_ = "Graphviz could not start";
      return;
    }
    graph_ = agmemread(dot.c_str());
    if (!graph_) {
      error_ = last_error("Graphviz could not read the graph");
      return;
    }
    if (cancelled(cancel)) return;
    if (gvLayout(gvc_, graph_, engine_.c_str()) != 0) {
      error_ = last_error("Graphviz could not lay out the graph with " + engine_);
      return;
    }
    laid_out_ = true;
  }
  ~LaidOutGraph() {
    if (laid_out_) gvFreeLayout(gvc_, graph_);
    if (graph_) agclose(graph_);
  }
  LaidOutGraph(const LaidOutGraph&) = delete;
  LaidOutGraph& operator=(const LaidOutGraph&) = delete;

  bool ok() const { return laid_out_; }
  const std::string& error() const { return error_; }
  const std::string& engine() const { return engine_; }

  bool render(const char* format, std::string& out) {
    char* data = nullptr;
    unsigned int length = 0;
    if (gvRenderData(gvc_, graph_, format, &data, &length) != 0 || !data) {
      error_ = last_error(std::string("Graphviz could not write ") + format);
      if (data) gvFreeRenderData(data);
      return false;
    }
    out.assign(data, length);
    gvFreeRenderData(data);
    return true;
  }

 private:
  GVC_t* gvc_ = nullptr;
  Agraph_t* graph_ = nullptr;
  bool laid_out_ = false;
  std::string engine_, error_;
};

// Graphviz's own messages are in English: the window shows them after an Italian lead.
LayoutResult failed(const std::string& why) { return failed_layout_result(why, why); }

}  // namespace

LayoutResult layout_graph(const GraphDrawing& drawing, const std::atomic<bool>* cancel) {
  if (drawing.nodes.size() > kGraphNodeLimit) return too_large_result(drawing.nodes.size());
  std::lock_guard<std::mutex> hold(graphviz_lock);
  graphviz_errors.clear();
  LaidOutGraph graph(drawing, cancel);
  if (cancelled(cancel)) return cancelled_layout_result();
  if (!graph.ok()) return failed(graph.error());
  std::string plain;
  if (!graph.render("plain", plain)) return failed(graph.error());
  if (cancelled(cancel)) return cancelled_layout_result();
  LayoutResult r;
  r.layout.engine = graph.engine();
  if (!read_plain_layout(plain, drawing, r.layout)) return failed("unexpected layout from Graphviz");
  r.outcome = LayoutOutcome::Done;
  return r;
}

bool render_graph(const GraphDrawing& drawing, const std::string& format, std::string& out, std::string& error) {
  if (drawing.nodes.size() > kGraphNodeLimit) {
    error = too_large_result(drawing.nodes.size()).message;
    return false;
  }
  std::lock_guard<std::mutex> hold(graphviz_lock);
  graphviz_errors.clear();
  LaidOutGraph graph(drawing, nullptr);
  if (graph.ok() && graph.render(format.c_str(), out)) return true;
  error = graph.error();
  return false;
}

}  // namespace pm
