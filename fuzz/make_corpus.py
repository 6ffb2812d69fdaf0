#!/usr/bin/python3
"""Writes the small starting inputs of the fuzzers that are texts. The pictures are copies
of forms/picture/test_data; the segment is written by build-fuzz/template_corpus.

usage: make_corpus.py CORPUS_TOP"""
import os
import sys

TEXTS = {
    "xml_fuzz": [
        '<?xml version="1.0" encoding="gb2312"?>\r\n<最新版本>\r\n'
        '  <版本信息 版本号="2.03" 升级说明="修正#HHF新增" 下载地址="http://127.0.0.1/p.zip"'
        ' 文件标题="导航" 文件名="p.zip" />\r\n</最新版本>\r\n',
        "<!DOCTYPE x><!-- c --><最新版本><a><![CDATA[<b>]]></a><版本信息 版本号='1&quot;&lt;'"
        ' 版本号="3"></版本信息>text</最新版本><?pi?>',
    ],
    "http_reply_fuzz": [
        "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n"
        'Content-Disposition: attachment; filename="p.zip"\r\n\r\nbody',
        "HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 999-999/1000\r\n"
        "Content-Length: 1\r\n\r\n",
        "HTTP/1.0 302 Found\r\nLocation: http://127.0.0.1:81/a/b.zip?x=1\r\n\r\n",
        "HTTP/1.1 301 Moved\r\nLocation: /other/c.zip\r\nContent-Length: 0\r\n\r\n",
        "HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 0-9/*\r\n\r\n",
    ],
    "command_words_fuzz": [
        'update.exe kqzrmesh_junction http://h/p.zip 标题 run Talvery.exe p.zip',
        '"C:\\dir with blank\\update.exe" "a b" "" c\\"d e\\\\"f\tg',
    ],
    "entry_name_fuzz": ["dir/sub\\file.txt", "a/../b", "com1.txt", "数据\\表.dat", "x:y"],
    "values_text_fuzz": [
        "  -12.5e3abc", "\xa3\xb1\xa3\xb2.5", "99999999999999999999",
        "\x01\x00\x00\x00\x05\x00\x00\x00\x01\x02ab\x02xyzabcABCab\x81ab",
    ],
}


def main():
    top = sys.argv[1]
    for target, texts in TEXTS.items():
        folder = os.path.join(top, target)
        os.makedirs(folder, exist_ok=True)
        for number, text in enumerate(texts, 1):
            # Latin-1 keeps the byte strings above as they are; the rest is GBK.
            data = text.encode("latin-1") if target == "values_text_fuzz" else text.encode("gbk")
            with open(os.path.join(folder, "%d" % number), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
