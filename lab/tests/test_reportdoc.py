"""The report document built from a stored form."""

import io
import unittest

import docx

import labproc  # noqa: F401
from test_units import client_body, declared_part
from veltrane_lab.reportdoc import FIGURES, build_report_docx
from veltrane_lab.reportform import parse_report_form


def read_docx(data):
    document = docx.Document(io.BytesIO(data))
    paragraphs = [p.text for p in document.paragraphs]
    tables = [[[c.text for c in row.cells] for row in t.rows] for t in document.tables]
    return paragraphs, tables


class ReportDocTest(unittest.TestCase):
    def test_every_figure_with_its_unit(self):
        numbers = (2, 16, 7, 812.5, 301.25, 55.5, 44.4, 771.88, 9, 3, 31, 6)
        form = parse_report_form(declared_part(client_body(seq="100777", numbers=numbers)))
        paragraphs, tables = read_docx(build_report_docx(form))
        info, figures, hops = tables
        self.assertIn("测试号：100777", paragraphs)
        rows = {r[0]: r[1] for r in info}
        self.assertEqual(rows["测试号"], "100777")
        self.assertEqual(rows["测试模式"], "城域网模式（2）")
        self.assertEqual(rows["测试量程"], "1000M（16）")
        self.assertEqual(rows["签约带宽"], "100 Mbit/s")
        self.assertEqual(rows["用户信息"], "张三")
        self.assertEqual(figures[0], ["项目", "数值", "单位"])
        expected = [[caption, form.text(key), unit] for key, caption, unit in FIGURES]
        self.assertEqual(figures[1:], expected)
        # values as the client formatted them, not reformatted by the platform
        self.assertEqual([r[1] for r in figures[1:]],
                         ["7", "812.50", "301.25", "55.50", "44.40", "771.88", "9", "3", "31", "6"])
        self.assertEqual(hops, [["跳数", "地址", "时延 (ms)"], ["1", "192.168.1.1", "1"],
                                ["2", "请求超时", "超时"]])

    def test_odd_forms(self):
        cases = [
            # (form body, text expected among the paragraphs)
            (declared_part(client_body(hops="", delays="")), "无跳点数据"),
            (declared_part(client_body(userinfo="甲&乙=丙")), "多余字段：乙=丙"),
            (b"seq=42&mod=1", "缺少字段：speed_rtt"),
            (declared_part(client_body(lancomment="内网层次过于复杂，会影响您的带宽")),
             "内网评价：内网层次过于复杂，会影响您的带宽"),
        ]
        for body, text in cases:
            with self.subTest(text=text):
                paragraphs, _ = read_docx(build_report_docx(parse_report_form(body)))
                self.assertIn(text, paragraphs)


if __name__ == "__main__":
    unittest.main()
