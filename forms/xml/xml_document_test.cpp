#include "forms/xml/xml_document.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace forms {
namespace {

ByteSet bytes(std::string_view text) { return ByteSet(text.begin(), text.end()); }

const char kDescriptor[] =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n"
    "<!-- update descriptor -->\r\n"
    "<最新版本>\r\n"
    "  <版本信息 版本号=\"2.03\" 升级说明=\"修正#HHF新增\" 下载地址='http://127.0.0.1/a.zip'\r\n"
    "            文件标题=\"导航\" 文件名=\"a.zip\"/>\r\n"
    "</最新版本>\r\n";

TEST(XmlLoad, AcceptsWellFormedDocuments) {
  const std::string accepted[] = {
      kDescriptor,
      "<a/>",
      "<a></a>",
      "  \r\n<a>text</a>\r\n  ",
      "<a><!-- <b> --></a>",
      "<a><![CDATA[ </b> < ]]></a>",
      "<a><?pi stuff?></a>",
      "<!DOCTYPE a [ <!ENTITY x \"y\"> ]><a/>",
      "<!DOCTYPE \xB0\x5B><a/>",                         // a trail byte that is '['
      "<!DOCTYPE a [ <!ENTITY x \"\xB0\x5D>\"> ]><a/>",  // and one that is ']'
      "<!DOCTYPE \xB0><a/>",                             // a lead byte before a delimiter
      "<?xml version='1.0'?><!-- c --><!DOCTYPE a><?pi?><a/>",
      "<a\tb='1'/>",
      "<a/><!-- after -->",
      "<a b='1' c=\"2\" b = '3' />",
      "<a b=\"x<y&z\"></a >",
      "<a><b><c/></b><b/></a>",
      std::string("<a/>\0garbage after the zero byte", 32),
  };
  for (const std::string& source : accepted) {
    XmlDocument document;
    EXPECT_TRUE(xmlLoad(document, bytes(source))) << source;
    EXPECT_TRUE(document.hasTree()) << source;
  }
}

TEST(XmlLoad, RefusesMalformedAndTruncatedDocuments) {
  const std::string refused[] = {
      "",
      "   ",
      "text",
      "<",
      "<a",
      "<a b",
      "<a b=",
      "<a b='1",
      "<a b=1/>",
      "<a b/>",
      "<a ='1'/>",
      // Bytes that end a name.
      "<!a/>",
      "<a!/>",
      "<a?/>",
      "<a=/>",
      "<a'/>",
      "<a\"/>",
      "<a<b/>",
      "<a\vb='1'/>",
      "<a>",
      "<a><b></a>",
      "<a></b>",
      "<a></a",
      "<a><!-- open </a>",
      "<a><!--></a>",
      "<!--><a/>",
      "<!DOCTYPE a><!DOCTYPE a><a/>",
      "<a/><!DOCTYPE a>",
      "<a><![CDATA[ </a>",
      "<?xml version='1.0'",
      "<!-- only a comment -->",
      "<a/><b/>",
      "<a/>tail",
      "x<a/>",
      "< a/>",
      "<a/></a>",
      "</a>",
      "<a>\xB0",
      "<a b='\xB0",
      "<\xB0",
      std::string("\0<a/>", 5),
  };
  for (const std::string& source : refused) {
    XmlDocument document;
    EXPECT_FALSE(xmlLoad(document, bytes(source))) << source;
    EXPECT_FALSE(document.hasTree()) << source;
  }
}

TEST(XmlLoad, DiscardsTheOldTreeFirst) {
  XmlDocument document;
  ASSERT_TRUE(xmlLoad(document, bytes("<a v='1'/>")));
  EXPECT_FALSE(xmlLoad(document, bytes("<a v='2'>")));
  EXPECT_EQ(xmlGetAttribute(document, "a", "v"), "");
  ASSERT_TRUE(xmlLoad(document, bytes("<a v='1'/>")));
  EXPECT_FALSE(xmlLoad(document, ByteSet{}));
  EXPECT_FALSE(document.hasTree());
}

TEST(XmlLoad, DeepNestingNeedsNoStack) {
  const std::size_t depth = 200000;
  std::string open;
  std::string close;
  for (std::size_t i = 0; i < depth; ++i) open += "<a>";
  for (std::size_t i = 0; i < depth; ++i) close += "</a>";
  XmlDocument document;
  EXPECT_TRUE(xmlLoad(document, bytes(open + close)));
  EXPECT_FALSE(xmlLoad(document, bytes(open + close.substr(4))));
  EXPECT_FALSE(xmlLoad(document, bytes(open)));
}

TEST(XmlLoad, HugeAttributeValue) {
  const std::string value(1 << 20, 'x');
  XmlDocument document;
  ASSERT_TRUE(xmlLoad(document, bytes("<a v='" + value + "'/>")));
  EXPECT_EQ(xmlGetAttribute(document, "a", "v"), value);
}

TEST(XmlLoad, FromFile) {
  const Text name = "xml_document_test.tmp";
  std::FILE* file = std::fopen(name.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs(kDescriptor, file);
  std::fclose(file);

  XmlDocument document;
  EXPECT_TRUE(xmlLoad(document, name));
  EXPECT_EQ(xmlGetAttribute(document, "最新版本/版本信息", "版本号"), "2.03");
  // A missing file name keeps the tree; a file that cannot be read does not.
  EXPECT_FALSE(xmlLoad(document, Text()));
  EXPECT_TRUE(document.hasTree());
  std::remove(name.c_str());
  EXPECT_FALSE(xmlLoad(document, name));
  EXPECT_FALSE(document.hasTree());
}

TEST(XmlFree, TellsWhetherThereWasATree) {
  XmlDocument document;
  EXPECT_FALSE(xmlFree(document));
  ASSERT_TRUE(xmlLoad(document, bytes("<a/>")));
  EXPECT_TRUE(xmlFree(document));
  EXPECT_FALSE(document.hasTree());
  EXPECT_FALSE(xmlFree(document));
}

TEST(XmlGetAttribute, PathsAndValues) {
  const struct {
    const char* source;
    const char* path;
    const char* attribute;
    bool found;
    const char* value;
  } cases[] = {
      {kDescriptor, "最新版本/版本信息", "版本号", true, "2.03"},
      {kDescriptor, "最新版本/版本信息", "升级说明", true, "修正#HHF新增"},
      {kDescriptor, "最新版本/版本信息", "下载地址", true, "http://127.0.0.1/a.zip"},
      {kDescriptor, "最新版本/版本信息", "文件名", true, "a.zip"},
      {kDescriptor, "最新版本/版本信息", "大小", false, ""},
      {kDescriptor, "最新版本/其他", "版本号", false, ""},
      {kDescriptor, "版本信息", "版本号", false, ""},
      {kDescriptor, "/最新版本/版本信息", "版本号", false, ""},
      {kDescriptor, "最新版本//版本信息", "版本号", false, ""},
      {kDescriptor, "最新版本/版本信息/", "版本号", false, ""},
      {kDescriptor, "", "版本号", false, ""},
      {kDescriptor, "最新版本/版本信息", "", false, ""},
      // The root's own attributes, first child of a name, last of a repeated attribute.
      {"<r v='root'/>", "r", "v", true, "root"},
      {"<r><c v='1'/><c v='2'/></r>", "r/c", "v", true, "1"},
      {"<r><x/><c><d v='deep'/></c></r>", "r/c/d", "v", true, "deep"},
      {"<r><c/><c><d v='second'/></c></r>", "r/c/d", "v", false, ""},
      {"<r v='1' v='2' v='3'/>", "r", "v", true, "3"},
      {"<r v=''/>", "r", "v", true, ""},
      // Names compare byte for byte.
      {"<r V='1'/>", "r", "v", false, ""},
      {"<R v='1'/>", "r", "v", false, ""},
      // References: the listed ones decoded, others kept as written.
      {"<r v='&lt;&gt;&amp;&apos;&quote;&quot;'/>", "r", "v", true, "<>&'\"\""},
      {"<r v='&amp;lt;'/>", "r", "v", true, "&lt;"},
      {"<r v='&#65;&nbsp;&lt&'/>", "r", "v", true, "&#65;&nbsp;&lt&"},
      {"<r v='a&quotb'/>", "r", "v", true, "a&quotb"},
      // Values keep their bytes, line breaks and GBK characters included.
      {"<r v='一\r\n二'/>", "r", "v", true, "一\r\n二"},
      {"<r v=\"it's\"/>", "r", "v", true, "it's"},
  };
  for (const auto& c : cases) {
    XmlDocument document;
    ASSERT_TRUE(xmlLoad(document, bytes(c.source))) << c.source;
    bool found = !c.found;
    EXPECT_EQ(xmlGetAttribute(document, c.path, c.attribute, &found), c.value)
        << c.source << " " << c.path << " " << c.attribute;
    EXPECT_EQ(found, c.found) << c.source << " " << c.path << " " << c.attribute;
  }
}

TEST(XmlGetAttribute, NoTreeGivesNothing) {
  XmlDocument document;
  bool found = true;
  EXPECT_EQ(xmlGetAttribute(document, "最新版本/版本信息", "版本号", &found), "");
  EXPECT_FALSE(found);
  EXPECT_EQ(xmlGetAttribute(document, "a", "b"), "");
}

}  // namespace
}  // namespace forms
