// Listener arrays: calls in order, and passes that survive listeners adding
// and removing entries while they run.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/common/ListenerArray.h"

namespace {

std::vector<std::string> g_calls;

class Listener : public CCmdTarget {
 public:
  explicit Listener(const char* name) : m_name(name) {}
  void OnEvent(INT_PTR argument) {
    g_calls.push_back(m_name + ":" + std::to_string(argument));
    std::function<void()> once;
    once.swap(action);
    if (once) once();
  }
  // Runs at the next call only.
  std::function<void()> action;

 private:
  std::string m_name;
};

typedef std::vector<std::string> Calls;

}  // namespace

TEST(ListenerArray, EmptyAndGrownArraysCallOnlyRealEntries) {
  CXTListenerArray array;
  EXPECT_EQ(array.NotifyAll(1), 0);
  Listener a("a");
  array.SetAtGrow(3, MakeListener(&a, &Listener::OnEvent));
  ASSERT_EQ(array.GetSize(), 4);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(array.GetAt(i).object, nullptr);
  g_calls.clear();
  EXPECT_EQ(array.NotifyAll(7), 4);
  EXPECT_EQ(g_calls, (Calls{"a:7"}));
}

TEST(ListenerArray, RemovingAClientRemovesEachOfItsEntries) {
  CXTListenerArray array;
  Listener a("a"), b("b");
  array.Add(MakeListener(&a, &Listener::OnEvent));
  array.Add(MakeListener(&b, &Listener::OnEvent));
  array.Add(MakeListener(&a, &Listener::OnEvent));
  array.RemoveClient(&a);
  g_calls.clear();
  EXPECT_EQ(array.NotifyAll(2), 1);
  EXPECT_EQ(g_calls, (Calls{"b:2"}));
}

// Each row: which listener acts during the pass, and what the pass calls.
TEST(ListenerArray, PassSurvivesChangesMadeByItsListeners) {
  struct Case {
    const char* what;
    int actor;  // index of the listener that acts
    std::function<void(CXTListenerArray&, std::vector<std::unique_ptr<Listener>>&)> act;
    Calls expected;
  };
  auto remove = [](int victim) {
    return [victim](CXTListenerArray& array, std::vector<std::unique_ptr<Listener>>& ls) {
      array.RemoveClient(ls[victim].get());
    };
  };
  const Case cases[] = {
      {"removes itself", 1, remove(1), {"0:5", "1:5", "2:5", "3:5"}},
      {"removes an earlier one", 2, remove(0), {"0:5", "1:5", "2:5", "3:5"}},
      {"removes a later one", 1, remove(2), {"0:5", "1:5", "3:5"}},
      {"adds one", 3,
       [](CXTListenerArray& array, std::vector<std::unique_ptr<Listener>>& ls) {
         array.Add(MakeListener(ls[4].get(), &Listener::OnEvent));
       },
       {"0:5", "1:5", "2:5", "3:5", "4:5"}},
  };
  for (const Case& c : cases) {
    std::vector<std::unique_ptr<Listener>> ls;
    for (const char* name : {"0", "1", "2", "3", "4"}) ls.emplace_back(new Listener(name));
    CXTListenerArray array;
    for (int i = 0; i < 4; ++i) array.Add(MakeListener(ls[i].get(), &Listener::OnEvent));
    ls[c.actor]->action = [&] { c.act(array, ls); };
    g_calls.clear();
    array.NotifyAll(5);
    EXPECT_EQ(g_calls, c.expected) << c.what;
  }
}

TEST(ListenerArray, GrowingDuringAPassMovesNothingUnderTheCaller) {
  CXTListenerArray array;
  Listener first("first");
  std::vector<std::unique_ptr<Listener>> added;
  first.action = [&] {
    for (int i = 0; i < 200; ++i) {
      added.emplace_back(new Listener("n"));
      array.Add(MakeListener(added.back().get(), &Listener::OnEvent));
    }
    array.RemoveClient(&first);
  };
  array.Add(MakeListener(&first, &Listener::OnEvent));
  g_calls.clear();
  EXPECT_EQ(array.NotifyAll(1), 200);
  EXPECT_EQ(g_calls.size(), 201u);
}
