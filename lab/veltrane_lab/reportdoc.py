"""The report document (.docx) the platform generates for a test number.

Built with python-docx from the stored form: test number, mode, level, every
figure with its unit, the user's information and the hop table of the
diagnosis trace. Texts are Chinese, as the operator's platform writes them.
"""

import io
import time

import docx
from docx.shared import Pt

MODE_NAMES = {"1": "互联网模式", "2": "城域网模式"}
LEVEL_NAMES = {"4": "4M", "8": "20M", "12": "100M", "16": "1000M"}

# (form key, caption, unit) for every figure of the form.
FIGURES = (
    ("speed_rtt", "平均时延", "ms"),
    ("speed_speed", "下载速率", "Mbit/s"),
    ("speed_upload", "上传速率", "Mbit/s"),
    ("app_t1", "网页访问体验速率", "Mbit/s"),
    ("app_t2", "邮件应用体验速率", "Mbit/s"),
    ("app_t3", "多线程下载体验速率", "Mbit/s"),
    ("hoopsWAN", "广域网跳数", "跳"),
    ("hoopsLAN", "局域网跳数", "跳"),
    ("delayWAN", "广域网时延", "ms"),
    ("delayLAN", "局域网时延", "ms"),
)

TITLE = "专线质量认证测试报告"
NO_REPLY = "超时"


def _table(document, header, rows):
    table = document.add_table(rows=1, cols=len(header))
    table.style = "Table Grid"
    for cell, text in zip(table.rows[0].cells, header):
        cell.text = text
        for run in cell.paragraphs[0].runs:
            run.bold = True
    for row in rows:
        cells = table.add_row().cells
        for cell, text in zip(cells, row):
            cell.text = text
    return table


def _delay_text(text):
    return NO_REPLY if text.strip() == "-1" else text


def build_report_docx(form, received_at=None):
    """Return the .docx file bytes for a parsed ReportForm."""
    document = docx.Document()
    style = document.styles["Normal"]
    style.font.size = Pt(10.5)

    seq = form.text("seq")
    document.add_heading(TITLE, level=0)
    document.add_paragraph("测试号：%s" % seq)
    if received_at is not None:
        stamp = time.strftime("%Y-%m-%d %H:%M:%S", time.localtime(received_at))
        document.add_paragraph("提交时间：%s" % stamp)

    document.add_heading("测试信息", level=1)
    mod = form.text("mod")
    level = form.text("testlevel")
    _table(document, ("项目", "内容"), [
        ("测试号", seq),
        ("测试模式", "%s（%s）" % (MODE_NAMES.get(mod, "未知"), mod)),
        ("测试量程", "%s（%s）" % (LEVEL_NAMES.get(level, "未知"), level)),
        ("签约带宽", "%s Mbit/s" % form.text("bandwidth")),
        ("用户信息", form.text("userinfo")),
    ])

    document.add_heading("测试结果", level=1)
    _table(document, ("项目", "数值", "单位"),
           [(caption, form.text(key), unit) for key, caption, unit in FIGURES])
    comment = form.text("lancomment")
    document.add_paragraph("内网评价：%s" % (comment or "无"))

    document.add_heading("路由跳点", level=1)
    hops = form.hops()
    if hops:
        _table(document, ("跳数", "地址", "时延 (ms)"),
               [(str(i), addr, _delay_text(delay)) for i, (addr, delay) in enumerate(hops, 1)])
    else:
        document.add_paragraph("无跳点数据")

    strays = form.strays
    missing = form.missing
    if strays or missing:
        document.add_heading("表单附注", level=1)
        for key, value in strays:
            document.add_paragraph("多余字段：%s=%s" % (key.decode("gbk", "replace"),
                                                   value.decode("gbk", "replace").strip("\r\n")))
        for key in missing:
            document.add_paragraph("缺少字段：%s" % key)

    out = io.BytesIO()
    document.save(out)
    return out.getvalue()

