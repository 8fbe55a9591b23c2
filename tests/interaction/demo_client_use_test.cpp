// The demo client serves one run; the stored client paths survive it.
#include "interaction/demo_client_use.h"

#include <gtest/gtest.h>

#include "client/paths.h"
#include "support/demo_client.h"

namespace tavi {
namespace {

TEST(DemoClientUse, AdoptedOnlyWhenTheClientIsMissingAndForgottenAtTheEnd) {
  const std::string dir = test::DemoClientDir();
  TSettings stored;
  stored.ArtIdx = "/stored/artidx.mul";
  stored.LineWidth = 44;
  TSettings s = stored;
  s.Art = "/discovered/art.mul";  // what discovery filled in

  DemoClientUse demo;
  EXPECT_FALSE(demo.Adopt(s, stored, ""));
  EXPECT_FALSE(demo.Adopt(s, stored, dir + "/no-such-folder"));
  EXPECT_FALSE(demo.InUse());
  EXPECT_EQ(s.ArtIdx, "/stored/artidx.mul");

  ASSERT_TRUE(demo.Adopt(s, stored, dir + "/"));
  EXPECT_TRUE(demo.InUse());
  EXPECT_TRUE(ClientFilesPresent(s));
  EXPECT_EQ(s.ArtIdx, FindCaseInsensitive(dir, "artidx.mul"));
  EXPECT_EQ(s.ClientDir, dir + "/");
  EXPECT_EQ(s.LineWidth, 44);

  // Still on the demo client at the end: the stored paths are written, the
  // other settings as they are now.
  s.LineWidth = 60;
  TSettings out = demo.ToStore(s);
  EXPECT_EQ(out.ArtIdx, "/stored/artidx.mul");
  EXPECT_EQ(out.Art, "");
  EXPECT_EQ(out.LineWidth, 60);
  // Paths the user chose meanwhile are kept.
  s.Multi = "/games/client/multi.mul";
  out = demo.ToStore(s);
  EXPECT_EQ(out.Multi, "/games/client/multi.mul");
  EXPECT_EQ(out.ArtIdx, s.ArtIdx);

  // A client that is already there is never replaced.
  TSettings present = s;
  DemoClientUse again;
  EXPECT_FALSE(again.Adopt(present, stored, dir));
  EXPECT_EQ(again.ToStore(present).ArtIdx, present.ArtIdx);
}

}  // namespace
}  // namespace tavi
