// The structure walk: every page of a tree visited and checked without
// trusting it and without ending the process.
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/btree.h"

namespace quill {

namespace {

// What the walk has met so far. The recursion over the pages is bounded by
// the tree's height (at most Btree::kMaxHeight).
class StructureWalk {
 public:
  StructureWalk(const Btree& tree, const Btree::WalkVisitor& visit,
                std::vector<std::string>* problems)
      : tree_(tree), visit_(visit), problems_(problems) {}

  void report(const std::string& what) {
    ++found_;
    if (problems_ != nullptr) problems_->push_back(what);
  }

  // The page at offset `at` and, depth-first, the pages below it.
  void page(int32_t at, int32_t parent, int level) {
    if (!admit(at, level)) return;
    Page pg;
    pg.init(tree_);
    std::string why;
    if (pg.tryload(at, &why) != 0) {
      problem(at, level, why);
      return;
    }
    if (!visitpage(pg, at, parent, level)) return;
    children(pg, at, level);
  }

  int found() const { return found_; }
  bool stopped() const { return stop_; }
  const WalkSummary& summary() const { return sum_; }
  void sizeentry(int size) { last_.resize(static_cast<size_t>(size)); }

 private:
  const Btree& tree_;
  const Btree::WalkVisitor& visit_;
  std::vector<std::string>* problems_;
  int found_ = 0;
  bool stop_ = false;
  WalkSummary sum_;
  std::unordered_set<int32_t> seen_;
  std::vector<uint8_t> last_;  // the entry before, to check the order
  int lastk_ = -1;

  void problem(int32_t at, int level, const std::string& what) {
    report("page at offset " + std::to_string(at) + " (level " + std::to_string(level) +
           "): " + what);
  }

  // A page deeper than the tree or reached twice is not read again: a loop
  // would otherwise never end.
  bool admit(int32_t at, int level) {
    const int height = tree_.height();
    if (level > height) {
      problem(at, level, "deeper than the tree's height " + std::to_string(height));
      return false;
    }
    if (!seen_.insert(at).second) {
      problem(at, level, "reached twice");
      return false;
    }
    return true;
  }

  // Counts the page and shows it to the visitor; false when the walk stops.
  bool visitpage(const Page& pg, int32_t at, int32_t parent, int level) {
    if (pg.parent() != parent)
      problem(at, level,
              "parent field " + std::to_string(pg.parent()) + ", reached from " +
                  std::to_string(parent));
    sum_.pages += 1;
    sum_.entries += pg.count();
    if (visit_ && !visit_(WalkStep{at, parent, level, &pg})) {
      stop_ = true;
      return false;
    }
    if (pg.leaf()) {
      sum_.leaves += 1;
      if (level != tree_.height())
        problem(at, level,
                "leaf at level " + std::to_string(level) + " of " + std::to_string(tree_.height()));
    }
    return true;
  }

  // The children and entries in key order: each entry must follow the one
  // before it, wherever in the tree that one was.
  void children(const Page& pg, int32_t at, int level) {
    const bool leaf = pg.leaf();
    for (int i = 0; i <= pg.count(); ++i) {
      if (!leaf) page(pg.child(i), at, level + 1);
      if (stop_) return;
      if (i == pg.count()) break;
      if (lastk_ >= 0 && pg.compareentry(last_.data(), lastk_, last_.data() + lastk_, i) >= 0)
        problem(at, level, "entry " + std::to_string(i) + " out of order");
      lastk_ = pg.copyentry(i, last_.data());
    }
  }
};

}  // namespace

ErrorCode Btree::walk(const WalkVisitor& visit, std::vector<std::string>* problems,
                      WalkSummary* summary) {
  op_ = "Btree::walk";
  StructureWalk walker(*this, visit, problems);
  if (summary != nullptr) *summary = walker.summary();
  file_->beginop();
  const std::string tree = "tree " + std::to_string(treeno_) + ": ";
  if (!file_->exclusive() && (file_->readslot(treeno_) != 0 || readinfo() != 0)) {
    walker.report(tree + "damaged or unreadable descriptor");
    return GeneralError;
  }
  if (const char* why = damaged()) {
    walker.report(tree + why);
    return GeneralError;
  }
  walker.sizeentry(entrysize_ + 2);
  if (slot().root != -1) walker.page(slot().root, -1, 1);
  if (!walker.stopped()) {
    if (walker.summary().pages != slot().inuse)
      walker.report(tree + "slot counts " + std::to_string(slot().inuse) +
                    " pages in use, the tree has " + std::to_string(walker.summary().pages));
    std::string why;
    if (file_->walkfree(treeno_, nullptr, &why) != 0) walker.report(tree + "free list: " + why);
  }
  if (summary != nullptr) *summary = walker.summary();
  return walker.found() == 0 ? Ok : GeneralError;
}

}  // namespace quill
