#pragma once
// The UI hosts: scripted (tests and answer files), automatic (default
// answers) and terminal (draws windows as text and reads the answers).
#include <iosfwd>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/uihost.h"

namespace plat {

// Takes each window's default answer; a window that will not end after its
// default answer is cancelled, so a run without a person never waits. When
// given a stream it prints each window and the answer taken.
class RVCMNDLG_API AutomaticHost : public UiHost {
 public:
  explicit AutomaticHost(std::ostream* out = nullptr) : out_(out) {}
  void WindowShown(Window& window, bool modal) override;
  void WindowHidden(Window& window) override;
  HostAnswer Interact(Window& window) override;
  int ChooseMenuItem(const Menu& menu, Window* owner) override;
  std::optional<std::vector<std::string>> ChooseFiles(const FileDialogSpec& spec,
                                                      Window* owner) override;

 private:
  std::ostream* out_;
  std::mutex mutex_;
  std::map<Window*, int> attempts_;
};

// Expectations keyed by template id, caption or message text, each with the
// user's actions; a transcript of everything shown and done. An unexpected
// window, an action that cannot be done, or a wait past the time-out is
// recorded as a failure naming the window, and the window is cancelled.
class RVCMNDLG_API ScriptedHost : public UiHost {
 public:
  struct Expectation {
    enum class Key { Template, Caption, Message, Menu, Files };
    Key key = Key::Template;
    int template_id = 0;
    std::string text;
    std::vector<Action> actions;
    int times = 1;  // how many windows it answers; -1: any number
    bool optional = false;  // fewer windows (none too) are no fault
    // Menus: the item to choose (id or text); files: the names to give.
    std::string menu_choice;
    std::optional<std::vector<std::string>> files;
    int used = 0;
  };

  // Builder returned by the On... calls: adds actions to one expectation.
  class Builder {
   public:
    Builder(ScriptedHost& host, std::size_t index) : host_(host), index_(index) {}
    Builder& Do(Action action);
    Builder& Click(const std::string& control);
    Builder& Click(int id) { return Click(std::to_string(id)); }
    Builder& Type(int id, const std::string& text);
    Builder& Type(const std::string& control, const std::string& text);
    Builder& Check(int id) { return Set(Action::Kind::Check, std::to_string(id)); }
    Builder& Uncheck(int id) { return Set(Action::Kind::Uncheck, std::to_string(id)); }
    Builder& Select(int id, const std::string& item);
    Builder& Tick(int id, const std::string& item);
    Builder& Page(const std::string& page);
    Builder& Default();
    Builder& Times(int times);
    Builder& Always() { return Times(-1); }
    Builder& Optional();

   private:
    Builder& Set(Action::Kind kind, const std::string& control);
    ScriptedHost& host_;
    std::size_t index_;
  };

  explicit ScriptedHost(long wait_timeout_ms = 5000) : timeout_ms_(wait_timeout_ms) {}

  Builder OnTemplate(int template_id);
  Builder OnCaption(const std::string& caption);
  Builder OnMessage(const std::string& text_part);
  void OnMenu(const std::string& choice);  // an id or an item's text; "" chooses nothing
  void OnFiles(std::optional<std::vector<std::string>> files);

  // Reads expectations from an answer file's text (the grammar is in the
  // README); false with an error naming the line when the text is malformed
  // (nothing is added then).
  bool LoadAnswers(const std::string& text, std::string* error);

  std::vector<std::string> Transcript() const;
  std::string TranscriptText() const;
  std::vector<std::string> Failures() const;
  // Expectations not marked optional that answered fewer windows than they
  // were written for (an "always" one: none).
  std::vector<std::string> Unmet() const;
  // How a scripted run ended: every failure, then "not shown: ..." for each
  // unmet expectation; empty when the run went as written. rvdlg and the
  // tests judge a run by it.
  std::vector<std::string> Finish() const;

  void WindowShown(Window& window, bool modal) override;
  void WindowHidden(Window& window) override;
  HostAnswer Interact(Window& window) override;
  long WaitTimeoutMs() const override { return timeout_ms_; }
  void WaitTimedOut(Window& window) override;
  int ChooseMenuItem(const Menu& menu, Window* owner) override;
  std::optional<std::vector<std::string>> ChooseFiles(const FileDialogSpec& spec,
                                                      Window* owner) override;

 private:
  struct Binding {
    int expectation = -1;  // -1: unexpected
    std::size_t next_action = 0;
    std::string last_drawn;  // redrawn in the transcript only when it changed
  };
  std::size_t Add(Expectation expectation);
  int Match(Window& window);
  void Fail(const std::string& failure);
  void Log(const std::string& line);

  const long timeout_ms_;
  mutable std::mutex mutex_;
  std::vector<Expectation> expectations_;
  std::map<Window*, Binding> bindings_;
  std::vector<std::string> transcript_;
  std::vector<std::string> failures_;
};

// Draws every window as text on a stream and reads the user's answers, one
// action a line, from another. "?" lists the actions; an empty line takes the
// default answer; at the end of the input every window takes its default.
class RVCMNDLG_API TerminalHost : public UiHost {
 public:
  // echo_input repeats each line read, for input that is not typed at a
  // terminal (a pipe or a file), so the output reads as a conversation.
  TerminalHost(std::istream& in, std::ostream& out, bool echo_input = false)
      : in_(in), out_(out), echo_(echo_input) {}
  void WindowShown(Window& window, bool modal) override;
  void WindowHidden(Window& window) override;
  void WindowUpdated(Window& window) override;
  HostAnswer Interact(Window& window) override;
  int ChooseMenuItem(const Menu& menu, Window* owner) override;
  std::optional<std::vector<std::string>> ChooseFiles(const FileDialogSpec& spec,
                                                      Window* owner) override;

 private:
  bool ReadLine(std::string& line);
  std::istream& in_;
  std::ostream& out_;
  const bool echo_;
  std::mutex mutex_;
  bool input_ended_ = false;
  std::map<Window*, std::string> last_drawn_;
  std::map<Window*, int> defaults_taken_;
};

}  // namespace plat
