#!/usr/bin/env python3
"""Writes the labelled receiver-text corpus used to measure the address parser.

    tools/address_corpus/make_corpus.py            # writes both files
    tools/address_corpus/make_corpus.py --check    # validates only, writes nothing

Output (one JSON object a line, the shape of tests/batch/data/receiver_texts.jsonl):
    tests/batch/data/address_corpus_tuning.jsonl   (~400 texts)
    tests/batch/data/address_corpus_heldout.jsonl  (~300 texts)

The texts imitate what senders really paste: marketplace order exports, labelled
blocks, auction / second-hand lines, chat messages, business cards and senders who
type traditional characters. Every text carries the fields a careful clerk would
fill in ("expect"); the conventions are in tests/batch/data/README.md.

The texts were written from how receivers' texts look, never from the parser: this
generator does not read, import or run the parser.

How the held-out part is kept apart from the tuning part:
  * each part has its own random seed (SEED_TUNING, SEED_HELDOUT);
  * the pools of given names, road names, estate / building names, company brands,
    village names, Hong Kong / Macau / Taiwan streets and traditional street names are
    split in two disjoint halves, one per part (split_pool), so no name, street or
    company of the held-out part ever appears in the tuning part;
  * about a third of the format variants of every kind (marked HELDOUT_ONLY in the
    template tables) are used only for the held-out part;
  * the held-out file is for measuring only: it is never looked at while tuning the
    parser; failures are studied on the tuning part.

Only the standard library is used and every random choice comes from the seeded
generators, so running the script again writes the same files byte for byte.
"""

import argparse
import json
import random
import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
DIVISIONS = ROOT / "resources" / "regions" / "divisions.txt"
OUT_DIR = ROOT / "tests" / "batch" / "data"

SEED_TUNING = 20240529
SEED_HELDOUT = 77130911
POOL_SPLIT_SEED = 4242

COUNTS = {
    "tuning": {"shop": 80, "labelled": 80, "auction": 80, "chat": 80, "card": 40, "traditional": 40},
    "heldout": {"shop": 60, "labelled": 60, "auction": 60, "chat": 60, "card": 30, "traditional": 30},
}

FIELDS = ("company", "name", "phone", "mobile", "country", "province", "city", "town", "address", "postcode")


# ---------------------------------------------------------------------------
# Pools. Each is split in two disjoint halves, one for each part.

SURNAMES = list("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴莫孔向汤")
COMPOUND_SURNAMES = ["欧阳", "司马", "诸葛", "上官", "皇甫", "端木", "东方", "慕容", "令狐", "尉迟",
                     "公孙", "长孙", "宇文", "夏侯", "轩辕", "南宫", "司徒", "申屠", "澹台", "独孤"]
GIVEN_NAMES = [
    "伟", "芳", "娜", "敏", "静", "强", "磊", "军", "洋", "勇", "艳", "杰", "涛", "明", "超", "霞", "平", "刚", "桂英", "秀兰",
    "建华", "文博", "子涵", "欣怡", "浩然", "梓萱", "宇航", "思远", "雨桐", "佳琪", "晓东", "海燕", "志刚", "丽娟", "国庆",
    "春梅", "俊杰", "雪莲", "振华", "玉兰", "嘉怡", "天宇", "晨曦", "明轩", "若曦", "一鸣", "家豪", "婉婷", "诗涵", "博文",
    "立新", "红梅", "建军", "晓燕", "凤英", "德明", "永强", "美玲", "少华", "亚楠", "鹏飞", "凯文", "慧敏", "素芬", "文静",
    "思琪", "子轩", "梦瑶", "泽宇", "昊天", "沐晨", "安琪", "可欣", "语嫣", "书恒", "景行", "清扬", "向阳", "远航", "晓峰",
    "丹", "蕾", "琳", "颖", "斌", "鑫", "昕", "彤", "悦", "萌", "冬梅", "秋菊", "卫东", "援朝", "小红", "小军", "小龙", "大伟",
    "金凤", "银花", "海涛", "志勇", "秀英", "丽华", "国栋", "庆丰", "兴旺", "福生",
]
WHOLE_NAMES = ["巴特尔", "阿依古丽", "扎西顿珠", "买买提", "格桑梅朵", "乌云其木格", "热依拉", "达瓦卓玛"]

ROADS = [
    "文三路", "解放大道", "人民中路", "建设北路", "滨江大道", "长江西路", "朝阳街", "和平路", "中山北路", "工人路",
    "新华西路", "光明大道", "东风路", "胜利街", "青年路", "健康路", "学院路", "科技大道", "创业路", "迎宾大道",
    "沿江路", "府前街", "北京西路", "南京东路", "湖滨南路", "花园路", "体育场路", "金桥路", "世纪大道", "幸福路",
    "友谊路", "团结路", "民主路", "兴华街", "凤凰路", "黄河路", "长城路", "泰山路", "天山路", "昆仑路",
    "建国路", "复兴路", "振兴大街", "繁荣街", "新民路", "西环路", "东环路", "南环路", "北环路", "环城西路",
    "八一路", "五四路", "红旗街", "跃进路", "劳动路", "广场路", "车站路", "站前大道", "机场路", "港湾大道",
    "银河路", "星光大道", "梅林路", "桂花路", "荷花路", "松柏路", "杨柳街", "丁香路", "玉兰大道", "紫荆路",
    "龙山路", "凤鸣路", "望江路", "观澜大道", "江滨路", "滨河路", "河西大街", "渭滨路", "汉江路", "湘江路",
    "书院街", "文化路", "教育路", "学府路", "明德路", "致远路", "求是路", "博学路", "启航路", "通达路",
    "商业街", "工业大道", "开发大道", "高新五路", "软件园路", "物流大道", "新港路", "海景路", "阳光路", "锦绣路",
]
ESTATES = [
    "阳光花园", "锦绣家园", "翠湖苑", "金色家园", "华府名邸", "碧桂园", "万科城", "保利花园", "御景湾", "绿城桂花园",
    "新城国际", "和谐家园", "东方明珠苑", "幸福里", "丽景湾", "香榭丽舍", "春江花月", "滨江一号", "龙湖天街", "紫金苑",
    "半山花园", "湖畔人家", "枫林小区", "梧桐苑", "樱花小区", "兰亭雅苑", "金地格林", "世纪新城", "城市之光", "江南春晓",
    "明珠小区", "怡和苑", "嘉和园", "康乐新村", "向阳小区", "育才新村", "红星小区", "电力小区", "纺织新村", "铁路新村",
]
TOWERS = [
    "金轮大厦", "国贸大厦", "环球中心", "财富广场", "时代广场", "中信大厦", "银泰中心", "万达广场", "世贸中心", "创新大厦",
    "科技大厦", "华润大厦", "金融中心", "招商大厦", "置地广场", "新天地大厦", "汇金国际", "嘉里中心", "协信中心", "东方大厦",
    "天安数码城", "电子商务产业园", "软件园二期", "创意产业园", "智慧谷", "总部基地", "金茂大厦", "来福士广场", "恒隆广场", "太古汇",
]
VILLAGES = ["大王庄", "李家", "张家湾", "河东", "新庄", "前进", "红光", "石桥", "杨柳", "桃源",
            "高坪", "三合", "双河", "团结", "东升", "龙井", "马家坪", "白沙", "青山", "柏树"]
BRANDS = [
    "恒信", "华创", "鼎盛", "宏达", "瑞丰", "博远", "金诺", "天合", "卓越", "永泰", "新源", "联创", "汇通", "正泰", "德邦",
    "明辉", "星河", "凯盛", "安达", "中禾", "优品", "锐思", "佳宝", "东润", "嘉诚", "百川", "盛世", "蓝海", "启明", "普惠",
    "通利", "富源", "万象", "创维美", "宝丰", "精工", "立信", "众合", "旭日", "华美",
]
INDUSTRIES = ["电子科技", "贸易", "物流", "食品", "机械设备", "文化传媒", "医疗器械", "服装", "建材", "包装材料",
              "网络科技", "进出口", "信息技术", "环保科技", "家居用品", "汽车配件", "五金制品", "生物科技"]
COMPANY_TAILS = ["有限公司", "有限公司", "有限公司", "股份有限公司", "有限责任公司"]
INSTITUTIONS = ["第一人民医院", "实验中学", "第二中学", "图书馆", "档案馆", "人民医院检验科", "师范学院", "职业技术学院"]
TITLES = ["经理", "销售经理", "总经理", "采购主管", "技术总监", "行政专员", "董事长", "客户经理", "市场部主管", "项目经理"]
JIEDAO = ["城东街道", "城南街道", "城西街道", "城北街道", "东湖街道", "新华街道", "人民街道", "朝阳街道", "中心街道", "滨海街道"]

# Traditional-character senders (names, roads, buildings as they type them).
TRAD_NAMES = [
    "陳大文", "黃志明", "林美玲", "張家豪", "李嘉欣", "王俊傑", "吳淑芬", "劉德明", "蔡依婷", "鄭志偉",
    "謝雅婷", "許文龍", "楊麗華", "何國強", "羅嘉敏", "梁詠琪", "周杰倫", "鄧紫棋", "馮寶寶", "葉倩文",
    "歐陽震華", "司馬燕", "諸葛明", "上官靜", "馬國賢", "趙麗萍", "錢偉強", "孫燕姿", "郭富城", "曾志偉",
    "蘇永康", "盧慧娟", "鍾嘉欣", "簡家偉", "游淑惠", "邱建興", "賴雅君", "莊明哲", "洪秀蘭", "范曉萱",
]
TRAD_ROADS = [
    "深南大道", "中山北路", "湖濱路", "淮海中路", "建國門外大街", "長江路", "解放路", "人民南路", "環市東路", "東風路",
    "南京東路", "新華路", "和平東路", "黃河路", "濱江大道", "體育東路", "學院路", "華強北路", "廣州大道中", "北京西路",
    "勝利街", "光明大道", "科技園路", "濱海大道", "雙龍路", "鳳凰路", "萬壽路", "興業路", "繁華街", "龍華大道",
]
TRAD_TOWERS = ["國貿大廈", "華潤大廈", "中信廣場", "環球中心", "財富廣場", "時代廣場", "金融中心", "嘉里中心",
               "興業大廈", "恆隆廣場", "萬達廣場", "創新大廈", "海港大廈", "東方廣場", "銀泰中心", "新世紀廣場"]
TRAD_COMPANIES = ["香港恆信貿易有限公司", "澳門宏達進出口有限公司", "台灣精密電子股份有限公司", "大中華物流有限公司",
                  "永興國際貿易有限公司", "德昌電機有限公司", "華美實業有限公司", "東亞科技股份有限公司",
                  "長榮文化事業有限公司", "金龍貿易行", "新域設計顧問有限公司", "盛豐食品有限公司"]

# Hong Kong, Macau and Taiwan below province level: (city, [districts]) in simplified,
# with their traditional spellings.
HK = {
    "香港岛": ["中西区", "湾仔区", "东区", "南区"],
    "九龙": ["油尖旺区", "深水埗区", "九龙城区", "黄大仙区", "观塘区"],
    "新界": ["荃湾区", "屯门区", "元朗区", "北区", "大埔区", "西贡区", "沙田区", "葵青区", "离岛区"],
}
MACAU = {
    "澳门半岛": ["花地玛堂区", "圣安多尼堂区", "大堂区", "望德堂区", "风顺堂区"],
    "氹仔岛": ["嘉模堂区"],
    "路环岛": ["圣方济各堂区"],
}
TAIWAN = {
    "台北市": ["大安区", "信义区", "中山区", "松山区", "中正区", "内湖区", "士林区", "北投区", "万华区", "文山区"],
    "新北市": ["板桥区", "新店区", "中和区", "永和区", "三重区"],
    "台中市": ["西屯区", "北屯区", "南屯区"],
    "高雄市": ["前镇区", "苓雅区", "左营区", "三民区"],
    "台南市": ["安平区", "永康区"],
    "桃园市": ["桃园区", "中坜区"],
}
TRAD = {
    "香港岛": "香港島", "九龙": "九龍", "新界": "新界",
    "中西区": "中西區", "湾仔区": "灣仔區", "东区": "東區", "南区": "南區", "油尖旺区": "油尖旺區", "深水埗区": "深水埗區",
    "九龙城区": "九龍城區", "黄大仙区": "黃大仙區", "观塘区": "觀塘區", "荃湾区": "荃灣區", "屯门区": "屯門區",
    "元朗区": "元朗區", "北区": "北區", "大埔区": "大埔區", "西贡区": "西貢區", "沙田区": "沙田區", "葵青区": "葵青區",
    "离岛区": "離島區",
    "澳门半岛": "澳門半島", "氹仔岛": "氹仔島", "路环岛": "路環島", "花地玛堂区": "花地瑪堂區", "圣安多尼堂区": "聖安多尼堂區",
    "大堂区": "大堂區", "望德堂区": "望德堂區", "风顺堂区": "風順堂區", "嘉模堂区": "嘉模堂區", "圣方济各堂区": "聖方濟各堂區",
    "台北市": "臺北市", "新北市": "新北市", "台中市": "臺中市", "高雄市": "高雄市", "台南市": "臺南市", "桃园市": "桃園市",
    "大安区": "大安區", "信义区": "信義區", "中山区": "中山區", "松山区": "松山區", "中正区": "中正區", "内湖区": "內湖區",
    "士林区": "士林區", "北投区": "北投區", "万华区": "萬華區", "文山区": "文山區", "板桥区": "板橋區", "新店区": "新店區",
    "中和区": "中和區", "永和区": "永和區", "三重区": "三重區", "西屯区": "西屯區", "北屯区": "北屯區", "南屯区": "南屯區",
    "前镇区": "前鎮區", "苓雅区": "苓雅區", "左营区": "左營區", "三民区": "三民區", "安平区": "安平區", "永康区": "永康區",
    "桃园区": "桃園區", "中坜区": "中壢區",
}
# (simplified, traditional) street names; split between the parts like the other pools.
HK_STREETS = [("弥敦道", "彌敦道"), ("轩尼诗道", "軒尼詩道"), ("英皇道", "英皇道"), ("德辅道中", "德輔道中"),
              ("皇后大道中", "皇后大道中"), ("告士打道", "告士打道"), ("广东道", "廣東道"), ("太子道西", "太子道西"),
              ("青山公路", "青山公路"), ("沙田正街", "沙田正街"), ("大埔道", "大埔道"), ("观塘道", "觀塘道"),
              ("骆克道", "駱克道"), ("亚皆老街", "亞皆老街"), ("西洋菜南街", "西洋菜南街"), ("荷李活道", "荷李活道")]
HK_BUILDINGS = [("美丽华大厦", "美麗華大廈"), ("新世纪广场", "新世紀廣場"), ("海港城", "海港城"), ("太古城中心", "太古城中心"),
                ("金钟廊", "金鐘廊"), ("荣华大厦", "榮華大廈"), ("百德大厦", "百德大廈"), ("嘉兴商业中心", "嘉興商業中心"),
                ("德福大厦", "德福大廈"), ("富豪花园", "富豪花園"), ("怡东商场", "怡東商場"), ("万邦中心", "萬邦中心")]
MO_STREETS = [("新马路", "新馬路"), ("殷皇子大马路", "殷皇子大馬路"), ("南湾大马路", "南灣大馬路"), ("高士德大马路", "高士德大馬路"),
              ("罗理基博士大马路", "羅理基博士大馬路"), ("慕拉士大马路", "慕拉士大馬路"), ("孙逸仙大马路", "孫逸仙大馬路"),
              ("成都街", "成都街"), ("计单奴街", "計單奴街"), ("提督马路", "提督馬路")]
TW_STREETS = [("忠孝东路四段", "忠孝東路四段"), ("敦化南路一段", "敦化南路一段"), ("复兴南路一段", "復興南路一段"),
              ("信义路五段", "信義路五段"), ("南京东路二段", "南京東路二段"), ("民生东路三段", "民生東路三段"),
              ("中山北路二段", "中山北路二段"), ("基隆路一段", "基隆路一段"), ("文心路三段", "文心路三段"),
              ("中华路一段", "中華路一段"), ("民族路", "民族路"), ("成功路", "成功路"), ("中正路", "中正路"),
              ("民权路", "民權路"), ("中山路", "中山路")]

# Mainland regions for the traditional-character senders: expected (province, city, town)
# and how they type them.
TRAD_MAINLAND = [
    (("广东省", "深圳市", "福田区"), ("廣東省", "深圳市", "福田區")),
    (("广东省", "深圳市", "南山区"), ("廣東省", "深圳市", "南山區")),
    (("广东省", "广州市", "天河区"), ("廣東省", "廣州市", "天河區")),
    (("广东省", "广州市", "越秀区"), ("廣東省", "廣州市", "越秀區")),
    (("广东省", "珠海市", "香洲区"), ("廣東省", "珠海市", "香洲區")),
    (("广东省", "佛山市", "顺德区"), ("廣東省", "佛山市", "順德區")),
    (("广东省", "东莞市", "长安镇"), ("廣東省", "東莞市", "長安鎮")),
    (("福建省", "厦门市", "思明区"), ("福建省", "廈門市", "思明區")),
    (("福建省", "福州市", "鼓楼区"), ("福建省", "福州市", "鼓樓區")),
    (("福建省", "泉州市", "丰泽区"), ("福建省", "泉州市", "豐澤區")),
    (("上海", "上海市", "浦东新区"), (None, "上海市", "浦東新區")),
    (("上海", "上海市", "静安区"), (None, "上海市", "靜安區")),
    (("北京", "北京市", "朝阳区"), (None, "北京市", "朝陽區")),
    (("天津", "天津市", "和平区"), (None, "天津市", "和平區")),
    (("重庆", "重庆市", "渝中区"), (None, "重慶市", "渝中區")),
    (("浙江省", "杭州市", "西湖区"), ("浙江省", "杭州市", "西湖區")),
    (("江苏省", "苏州市", "姑苏区"), ("江蘇省", "蘇州市", "姑蘇區")),
    (("江苏省", "南京市", "鼓楼区"), ("江蘇省", "南京市", "鼓樓區")),
    (("湖北省", "武汉市", "洪山区"), ("湖北省", "武漢市", "洪山區")),
    (("四川省", "成都市", "锦江区"), ("四川省", "成都市", "錦江區")),
    (("辽宁省", "大连市", "中山区"), ("遼寧省", "大連市", "中山區")),
    (("山东省", "青岛市", "市南区"), ("山東省", "青島市", "市南區")),
    (("广西", "南宁市", "青秀区"), ("廣西壯族自治區", "南寧市", "青秀區")),
    (("海南省", "海口市", "龙华区"), ("海南省", "海口市", "龍華區")),
]

# Prefecture cities without counties and cities under the province directly: the
# 镇/街道 that follows is the town.
TOWN_CITIES = [
    ("广东省", "东莞市", ["长安镇", "虎门镇", "厚街镇", "塘厦镇", "常平镇", "樟木头镇", "大朗镇", "南城街道", "东城街道", "莞城街道"]),
    ("广东省", "中山市", ["小榄镇", "古镇镇", "石岐街道", "东区街道", "南头镇", "坦洲镇", "三乡镇", "西区街道"]),
    ("甘肃省", "嘉峪关市", ["新城镇", "峪泉镇", "文殊镇"]),
    ("海南省", "儋州市", ["那大镇", "白马井镇", "和庆镇"]),
    ("湖北省", "仙桃市", ["沙嘴街道", "干河街道", "龙华山街道", "彭场镇"]),
    ("湖北省", "潜江市", ["园林街道", "杨市街道", "周矶街道"]),
    ("湖北省", "天门市", ["竟陵街道", "侨乡街道开发区"]),
    ("海南省", "琼海市", ["嘉积镇", "博鳌镇", "万泉镇"]),
    ("海南省", "文昌市", ["文城镇", "龙楼镇"]),
    ("海南省", "万宁市", ["万城镇", "兴隆镇"]),
]
# Counties with a real 镇 below them (the 镇 stays in the address).
COUNTY_TOWNS = [
    ("浙江省", "杭州市", "桐庐县", "分水镇"), ("浙江省", "湖州市", "安吉县", "孝丰镇"), ("江苏省", "苏州市", "昆山市", "周庄镇"),
    ("浙江省", "嘉兴市", "嘉善县", "西塘镇"), ("河北省", "保定市", "涞水县", "三坡镇"), ("湖南省", "湘西土家族苗族自治州", "凤凰县", "沱江镇"),
    ("云南省", "大理白族自治州", "大理市", "喜洲镇"), ("安徽省", "黄山市", "黟县", "宏村镇"), ("江西省", "上饶市", "婺源县", "江湾镇"),
    ("福建省", "漳州市", "南靖县", "书洋镇"), ("广东省", "佛山市", "顺德区", "北滘镇"), ("四川省", "阿坝藏族羌族自治州", "九寨沟县", "漳扎镇"),
    ("浙江省", "温州市", "永嘉县", "岩头镇"), ("贵州省", "黔东南苗族侗族自治州", "雷山县", "西江镇"), ("甘肃省", "甘南藏族自治州", "夏河县", "拉卜楞镇"),
    ("浙江省", "金华市", "义乌市", "佛堂镇"), ("山东省", "潍坊市", "寿光市", "古城街道"), ("江苏省", "无锡市", "江阴市", "华士镇"),
]
# Colloquial short forms of autonomous prefectures.
PREFECTURE_SHORT = {
    "甘南藏族自治州": "甘南州", "湘西土家族苗族自治州": "湘西州", "黔东南苗族侗族自治州": "黔东南州", "延边朝鲜族自治州": "延边州",
    "恩施土家族苗族自治州": "恩施州", "大理白族自治州": "大理州", "凉山彝族自治州": "凉山州", "西双版纳傣族自治州": "西双版纳州",
    "黔南布依族苗族自治州": "黔南州", "阿坝藏族羌族自治州": "阿坝州", "甘孜藏族自治州": "甘孜州", "临夏回族自治州": "临夏州",
    "楚雄彝族自治州": "楚雄州", "红河哈尼族彝族自治州": "红河州", "文山壮族苗族自治州": "文山州", "德宏傣族景颇族自治州": "德宏州",
    "海西蒙古族藏族自治州": "海西州", "伊犁哈萨克自治州": "伊犁州", "昌吉回族自治州": "昌吉州", "黔西南布依族苗族自治州": "黔西南州",
}
PROVINCE_SHORT = {"内蒙古自治区": "内蒙古", "广西壮族自治区": "广西", "西藏自治区": "西藏", "宁夏回族自治区": "宁夏",
                  "新疆维吾尔自治区": "新疆", "北京市": "北京", "上海市": "上海", "天津市": "天津", "重庆市": "重庆",
                  "香港特别行政区": "香港", "澳门特别行政区": "澳门"}
MUNICIPALITIES = ("11", "12", "31", "50")
AREA_CODES = {"北京市": "010", "上海市": "021", "天津市": "022", "重庆市": "023", "广州市": "020", "深圳市": "0755",
              "杭州市": "0571", "南京市": "025", "武汉市": "027", "成都市": "028", "西安市": "029", "沈阳市": "024",
              "宁波市": "0574", "温州市": "0577", "苏州市": "0512", "无锡市": "0510", "济南市": "0531", "青岛市": "0532",
              "郑州市": "0371", "长沙市": "0731", "福州市": "0591", "厦门市": "0592", "合肥市": "0551", "南昌市": "0791",
              "昆明市": "0871", "贵阳市": "0851", "南宁市": "0771", "海口市": "0898", "兰州市": "0931", "太原市": "0351",
              "石家庄市": "0311", "哈尔滨市": "0451", "长春市": "0431", "呼和浩特市": "0471", "乌鲁木齐市": "0991",
              "东莞市": "0769", "中山市": "0760", "佛山市": "0757", "珠海市": "0756", "大连市": "0411"}
OTHER_AREA_CODES = ["0312", "0532", "0513", "0515", "0539", "0631", "0713", "0716", "0734", "0746", "0817", "0838",
                    "0872", "0898", "0937", "0951", "0970", "0996", "0354", "0417", "0451", "0572", "0575", "0579"]
POSTCODE_PREFIX = {"11": ["10"], "12": ["30"], "13": ["05", "06", "07"], "14": ["03", "04"], "15": ["01", "02"],
                   "21": ["11", "12"], "22": ["13"], "23": ["15", "16"], "31": ["20"], "32": ["21", "22"],
                   "33": ["31", "32"], "34": ["23", "24"], "35": ["35", "36"], "36": ["33", "34"], "37": ["25", "26", "27"],
                   "41": ["45", "46", "47"], "42": ["43", "44"], "43": ["41", "42"], "44": ["51", "52"], "45": ["53", "54"],
                   "46": ["57"], "50": ["40"], "51": ["61", "62", "63", "64"], "52": ["55", "56"], "53": ["65", "66", "67"],
                   "54": ["85"], "61": ["71", "72"], "62": ["73", "74"], "63": ["81"], "64": ["75"], "65": ["83", "84"]}
MOBILE_PREFIXES = ["130", "131", "132", "133", "135", "136", "137", "138", "139", "150", "151", "152", "153", "155",
                   "156", "157", "158", "159", "166", "173", "175", "176", "177", "178", "180", "181", "182", "183",
                   "185", "186", "187", "188", "189", "191", "193", "195", "198", "199"]


def split_pool(items, part):
    """The half of a pool that belongs to one part; the two halves never share an item."""
    shuffled = list(items)
    random.Random(POOL_SPLIT_SEED).shuffle(shuffled)
    return shuffled[0::2] if part == "tuning" else shuffled[1::2]


# ---------------------------------------------------------------------------
# Division table

class Divisions:
    def __init__(self, path):
        self.names = {}
        for line in path.read_text(encoding="utf-8").splitlines():
            if line.strip():
                code, name = line.split("\t")
                self.names[code] = name
        self.provinces = {c: n for c, n in self.names.items() if len(c) == 2}
        self.prefectures = {c: n for c, n in self.names.items() if len(c) == 4}
        self.counties = {c: n for c, n in self.names.items() if len(c) == 6}

    def province_expect(self, code):
        full = self.provinces[code[:2]]
        return PROVINCE_SHORT.get(full, full)

    def ordinary_counties(self):
        """(province code, prefecture code, county code) of real counties below prefectures."""
        out = []
        for code, name in sorted(self.counties.items()):
            pref = code[:4]
            if code[:2] in MUNICIPALITIES or pref not in self.prefectures:
                continue
            if code[4] == "7" or name == self.prefectures[pref] or name in ("市辖区", "郊区"):
                continue
            if self.prefectures[pref] == "三沙市":
                continue
            out.append(code)
        return out

    def municipal_counties(self):
        return [c for c, n in sorted(self.counties.items()) if c[:2] in MUNICIPALITIES and c[4] != "7"]

    def prefecture_named(self, name):
        return [c for c, n in self.prefectures.items() if n == name]

    def county_under(self, city_name, county_name):
        for code in self.prefecture_named(city_name):
            if any(c[:4] == code and n == county_name for c, n in self.counties.items()):
                return True
        return False

    def province_of_name(self, name):
        return [c for c, n in self.provinces.items() if PROVINCE_SHORT.get(n, n) == name]


# ---------------------------------------------------------------------------
# Regions: what is expected and how a sender may type it.

class Region:
    def __init__(self, province, city, town, prov_forms, city_forms, town_forms, street_prefix="", flavour="ordinary"):
        self.province, self.city, self.town = province, city, town
        self.prov_forms, self.city_forms, self.town_forms = prov_forms, city_forms, town_forms
        self.street_prefix = street_prefix  # a 镇/街道 under a county: stays in the address
        self.flavour = flavour

    def parts(self, rng, style):
        """The typed region names in order (province, city, town), None for one left out.

        style "export": the way marketplaces print them (everything, full names);
        style "free": what a person types (names may be shortened or left out)."""
        prov = self.prov_forms[0] if self.prov_forms else None
        city = self.city_forms[0] if self.city_forms else None
        town = self.town_forms[0] if self.town_forms else None
        if style == "export":
            if self.flavour == "municipality":
                prov = rng.choice([self.prov_forms[0], self.city_forms[0]])
            return [p for p in (prov, city, town) if p]
        if self.flavour == "municipality":
            prov = None
            city = rng.choice(self.city_forms)
        elif self.flavour in ("hk", "macau", "taiwan"):
            r = rng.random()
            prov = None if r < 0.3 else rng.choice(self.prov_forms)
        else:
            r = rng.random()
            if r < 0.2:
                prov = None
            elif r < 0.35 and len(self.prov_forms) > 1:
                prov = self.prov_forms[1]
            if len(self.city_forms) > 1 and prov is not None and rng.random() < 0.3:
                city = rng.choice(self.city_forms[1:])
        return [p for p in (prov, city, town) if p]


def postcode_for(rng, prov_code):
    prefixes = POSTCODE_PREFIX.get(prov_code)
    if not prefixes:
        return ""
    tail = rng.choice(["%02d00" % rng.randrange(100), "%04d" % rng.randrange(10000), "%03d0" % rng.randrange(1000)])
    return rng.choice(prefixes) + tail


class RegionPicker:
    def __init__(self, div, part):
        self.div = div
        self.ordinary = div.ordinary_counties()
        self.municipal = div.municipal_counties()
        self.part = part

    def _province_forms(self, prov_code):
        full = self.div.provinces[prov_code]
        short = PROVINCE_SHORT.get(full) or full[:-1]
        return [full, short]

    def _city_forms(self, city):
        forms = [city]
        if city in PREFECTURE_SHORT:
            forms.append(PREFECTURE_SHORT[city])
        elif city.endswith("市") and len(city) >= 3:
            forms.append(city[:-1])
        return forms

    def pick(self, rng, allow_far=True):
        """A region and the province code (for the postcode)."""
        r = rng.random()
        if r < 0.11:
            code = rng.choice(self.municipal)
            prov = self.div.provinces[code[:2]]
            short = PROVINCE_SHORT[prov]
            return Region(short, prov, self.div.counties[code], [short, prov], [prov, short], [self.div.counties[code]],
                          flavour="municipality"), code[:2]
        if r < 0.17:
            city = rng.choice(sorted(PREFECTURE_SHORT))
            codes = self.div.prefecture_named(city)
            county = rng.choice([c for c in self.div.counties if c[:4] == codes[0] and c[4] != "7"])
            prov = codes[0][:2]
            return Region(self.div.province_expect(prov), city, self.div.counties[county], self._province_forms(prov),
                          [PREFECTURE_SHORT[city], city], [self.div.counties[county]]), prov
        if r < 0.23:
            prov_name, city, towns = rng.choice(TOWN_CITIES)
            town = rng.choice(towns)
            prov = self.div.province_of_name(prov_name)[0]
            return Region(prov_name, city, town, self._province_forms(prov), [city], [town], flavour="towncity"), prov
        if r < 0.28:
            prov_name, city, county, town = rng.choice(COUNTY_TOWNS)
            prov = self.div.province_of_name(prov_name)[0]
            return Region(prov_name, city, county, self._province_forms(prov), self._city_forms(city), [county],
                          street_prefix=town), prov
        if allow_far and r < 0.31:
            return self.pick_far(rng, simplified=True), ""
        code = rng.choice(self.ordinary)
        prov = code[:2]
        city = self.div.prefectures[code[:4]]
        town = self.div.counties[code]
        if rng.random() < 0.05:  # no county named at all
            return Region(self.div.province_expect(prov), city, "", self._province_forms(prov), self._city_forms(city), []), prov
        return Region(self.div.province_expect(prov), city, town, self._province_forms(prov), self._city_forms(city), [town]), prov

    def pick_far(self, rng, simplified):
        """Hong Kong, Macau or Taiwan; typed in simplified or traditional characters."""
        which = rng.choice(["hk", "hk", "macau", "taiwan", "taiwan"])
        table = {"hk": HK, "macau": MACAU, "taiwan": TAIWAN}[which]
        city = rng.choice(sorted(table))
        town = rng.choice(table[city])
        if which == "hk":
            province = "香港"
            prov_forms = ["香港特别行政区", "香港"] if simplified else ["香港特別行政區", "香港"]
        elif which == "macau":
            province = "澳门"
            prov_forms = ["澳门特别行政区", "澳门"] if simplified else ["澳門特別行政區", "澳門"]
        else:
            province = "台湾省"
            prov_forms = ["台湾省", "台湾"] if simplified else ["台灣省", "台灣", "臺灣"]
        t = (lambda s: s) if simplified else (lambda s: TRAD.get(s, s))
        city_forms = [t(city)]
        if which == "taiwan" and not simplified and t(city) != city:
            city_forms.append(city)  # 台北市 typed with the common 台
        return Region(province, city, town, prov_forms, city_forms, [t(town)], flavour=which)


# ---------------------------------------------------------------------------
# Pieces of a text

class Pools:
    def __init__(self, part):
        self.given = split_pool(GIVEN_NAMES, part)
        self.whole = split_pool(WHOLE_NAMES, part)
        self.roads = split_pool(ROADS, part)
        self.estates = split_pool(ESTATES, part)
        self.towers = split_pool(TOWERS, part)
        self.villages = split_pool(VILLAGES, part)
        self.brands = split_pool(BRANDS, part)
        self.institutions = split_pool(INSTITUTIONS, part)
        self.trad_names = split_pool(TRAD_NAMES, part)
        self.trad_roads = split_pool(TRAD_ROADS, part)
        self.trad_towers = split_pool(TRAD_TOWERS, part)
        self.trad_companies = split_pool(TRAD_COMPANIES, part)
        self.hk_streets = split_pool(HK_STREETS, part)
        self.hk_buildings = split_pool(HK_BUILDINGS, part)
        self.mo_streets = split_pool(MO_STREETS, part)
        self.tw_streets = split_pool(TW_STREETS, part)


def person_name(rng, pools):
    r = rng.random()
    if r < 0.03:
        return rng.choice(pools.whole)
    if r < 0.2:
        given = rng.choice(pools.given)
        return rng.choice(COMPOUND_SURNAMES) + given
    return rng.choice(SURNAMES) + rng.choice(pools.given)


def company_name(rng, pools, city):
    if not city.endswith("市"):  # an autonomous prefecture, a league, Hong Kong...: no city in the name
        return rng.choice(pools.brands) + rng.choice(INDUSTRIES) + rng.choice(COMPANY_TAILS)
    stem = city[:-1]
    r = rng.random()
    if r < 0.12:
        return stem + rng.choice(pools.institutions)
    if r < 0.3:
        return rng.choice(pools.brands) + rng.choice(INDUSTRIES) + "（%s）" % stem + rng.choice(COMPANY_TAILS)
    return stem + rng.choice(pools.brands) + rng.choice(INDUSTRIES) + rng.choice(COMPANY_TAILS)


def street_line(rng, pools, rural=False):
    road = rng.choice(pools.roads)
    n = rng.randrange(1, 999)
    r = rng.random()
    if rural and r < 0.5:
        return "%s村%d组%d号" % (rng.choice(pools.villages), rng.randrange(1, 12), rng.randrange(1, 80))
    if r < 0.3:
        return "%s%d号" % (road, n)
    if r < 0.5:
        return "%s%d号%s%d栋%d单元%d%02d室" % (road, n, rng.choice(pools.estates), rng.randrange(1, 30),
                                         rng.randrange(1, 6), rng.randrange(1, 33), rng.randrange(1, 6))
    if r < 0.65:
        floor = rng.randrange(2, 40)
        tail = rng.choice(["%d楼" % floor, "%d层" % floor, "%d楼%d%02d室" % (floor, floor, rng.randrange(1, 20)),
                           " %d层%d%02d" % (floor, floor, rng.randrange(1, 20))])
        return "%s%d号%s%s" % (road, n, rng.choice(pools.towers), tail)
    if r < 0.75:
        return "%s%d幢%d%02d室" % (rng.choice(pools.estates), rng.randrange(1, 40), rng.randrange(1, 30), rng.randrange(1, 5))
    if r < 0.83:
        return "%s%d弄%d号%d%02d室" % (road, n, rng.randrange(1, 90), rng.randrange(1, 20), rng.randrange(1, 4))
    if r < 0.9:
        return "%s%s%d号" % (rng.choice(JIEDAO), road, n)
    return "%s%d号院%d号楼%d单元%d室" % (road, n, rng.randrange(1, 20), rng.randrange(1, 5), rng.randrange(101, 2600))


def trad_street(rng, pools):
    road = rng.choice(pools.trad_roads)
    n = rng.randrange(1, 999)
    if rng.random() < 0.5:
        return "%s%d號" % (road, n)
    floor = rng.randrange(2, 40)
    return "%s%d號%s%d樓%s" % (road, n, rng.choice(pools.trad_towers), floor, rng.choice(["", "%d室" % rng.randrange(1, 20), "A座"]))


HK_STREET_CITY = {"香港岛": ["轩尼诗道", "英皇道", "德辅道中", "皇后大道中", "告士打道", "骆克道", "荷李活道"],
                  "九龙": ["弥敦道", "广东道", "太子道西", "观塘道", "亚皆老街", "西洋菜南街"],
                  "新界": ["青山公路", "沙田正街", "大埔道"]}
MO_STREET_CITY = {"澳门半岛": ["新马路", "殷皇子大马路", "南湾大马路", "高士德大马路", "罗理基博士大马路", "慕拉士大马路", "提督马路"],
                  "氹仔岛": ["孙逸仙大马路", "成都街"], "路环岛": ["计单奴街"]}
TW_STREET_CITY = {"台北市": ["忠孝东路四段", "敦化南路一段", "复兴南路一段", "信义路五段", "南京东路二段", "民生东路三段",
                            "中山北路二段", "基隆路一段"], "台中市": ["文心路三段"]}


def _street_in_city(rng, pool, table, city):
    """A street of the city when the part's pool has one, else one of the city-less streets."""
    here = [s for s in pool if s[0] in table.get(city, [])]
    anywhere = [s for s in pool if not any(s[0] in streets for streets in table.values())]
    return rng.choice(here or anywhere or pool)


def far_street(rng, pools, region, simplified):
    pick = 0 if simplified else 1
    n = rng.randrange(1, 400)
    hao, lou, shi = ("号", "楼", "室") if simplified else ("號", "樓", "室")
    if region.flavour == "hk":
        street = _street_in_city(rng, pools.hk_streets, HK_STREET_CITY, region.city)[pick]
        building = rng.choice(pools.hk_buildings)[pick]
        return "%s%d%s%s%d%s%s%s" % (street, n, hao, building, rng.randrange(2, 30), lou, rng.choice("ABCDEF"), shi)
    if region.flavour == "macau":
        street = _street_in_city(rng, pools.mo_streets, MO_STREET_CITY, region.city)[pick]
        return "%s%d%s%s%d%s%s座" % (street, n, hao, rng.choice(["", "金龙大厦" if simplified else "金龍大廈"]),
                                    rng.randrange(2, 25), lou, rng.choice("ABCD"))
    street = _street_in_city(rng, pools.tw_streets, TW_STREET_CITY, region.city)[pick]
    tail = rng.choice(["", "%d%s" % (rng.randrange(2, 20), lou), "%d%s之%d" % (rng.randrange(2, 20), lou, rng.randrange(1, 6))])
    return "%s%d%s%s" % (street, n, hao, tail)


def mobile_number(rng):
    return rng.choice(MOBILE_PREFIXES) + "%08d" % rng.randrange(10 ** 8)


def typed_mobile(rng, number, plain_share=0.55):
    """How a sender types a mainland mobile; the expected value is always the 11 digits."""
    if rng.random() < plain_share:
        return number
    a, b, c = number[:3], number[3:7], number[7:]
    return rng.choice([
        "%s %s %s" % (a, b, c), "%s-%s-%s" % (a, b, c), "+86 " + number, "+86-" + number, "86-" + number,
        "(+86)" + number, "+86" + number, "（+86）" + number, "+86 %s %s %s" % (a, b, c), "%s %s" % (a, number[3:]),
    ])


def landline(rng, city):
    """(typed, expected) for a mainland landline."""
    code = AREA_CODES.get(city) or rng.choice(OTHER_AREA_CODES)
    length = 8 if len(code) == 3 or rng.random() < 0.6 else 7
    local = str(rng.randrange(2, 9)) + "%0*d" % (length - 1, rng.randrange(10 ** (length - 1)))
    split = 4 if length == 8 else 3
    r = rng.random()
    if r < 0.3:
        return "%s-%s" % (code, local), "%s-%s" % (code, local)
    if r < 0.45:
        return "%s %s" % (code, local), "%s-%s" % (code, local)
    if r < 0.6:
        sep = rng.choice(["-", " "])
        return "%s%s%s %s" % (code, sep, local[:split], local[split:]), "%s-%s" % (code, local)
    if r < 0.67:
        return "(%s)%s" % (code, local), "(%s)%s" % (code, local)
    if r < 0.74:
        ext = str(rng.randrange(100, 9999))
        return "%s-%s-%s" % (code, local, ext), "%s-%s-%s" % (code, local, ext)
    if r < 0.82:
        return "86-%s-%s" % (code, local), "%s-%s" % (code, local)
    if r < 0.9:
        return code + local, code + local
    return local, local  # no area code


TW_AREA_CODES = {"台北市": "02", "新北市": "02", "桃园市": "03", "台中市": "04", "台南市": "06", "高雄市": "07"}


def far_phone(rng, flavour, city):
    """(typed, expected) for a Hong Kong, Macau or Taiwan number."""
    if flavour == "taiwan":
        if rng.random() < 0.6:
            n = "09%02d%06d" % (rng.randrange(100), rng.randrange(10 ** 6))
            return rng.choice([("%s-%s-%s" % (n[:4], n[4:7], n[7:]),) * 2, (n, n), ("%s %s %s" % (n[:4], n[4:7], n[7:]), n)])
        n = "%04d%04d" % (rng.randrange(2000, 9999), rng.randrange(10000))
        code = TW_AREA_CODES[city]
        return rng.choice([("%s-%s-%s" % (code, n[:4], n[4:]),) * 2, ("(%s)%s-%s" % (code, n[:4], n[4:]),) * 2])
    country = "852" if flavour == "hk" else "853"
    first = rng.choice("5692") if flavour == "hk" else rng.choice(["6", "28"])
    n = first + "%0*d" % (8 - len(first), rng.randrange(10 ** (8 - len(first))))
    spaced = "%s %s" % (n[:4], n[4:])
    return rng.choice([("+%s %s" % (country, spaced), n), ("(%s) %s" % (country, spaced), n), ("%s-%s" % (country, n), n),
                       (spaced, n), (n, n), ("+%s%s" % (country, n), n)])


# ---------------------------------------------------------------------------
# A receiver: everything one text tells, with the typed forms.

class Receiver:
    def __init__(self, rng, pools, picker, far=False, trad=None):
        self.rng = rng
        self.trad_region = None
        if trad == "far":
            self.region = picker.pick_far(rng, simplified=False)
            prov_code = ""
        elif trad == "mainland":
            expect, typed = rng.choice(TRAD_MAINLAND)
            prov = [typed[0], "廣東" if typed[0] == "廣東省" else typed[0]] if typed[0] else None
            flavour = "municipality" if typed[0] is None else ("towncity" if typed[2].endswith("鎮") else "ordinary")
            self.region = Region(expect[0], expect[1], expect[2], prov or [typed[1][:-1], typed[1]], [typed[1]], [typed[2]],
                                 flavour=flavour)
            prov_code = picker.div.province_of_name(expect[0])[0]
        elif far:
            self.region = picker.pick_far(rng, simplified=True)
            prov_code = ""
        else:
            self.region, prov_code = picker.pick(rng)
        flavour = self.region.flavour
        self.is_far = flavour in ("hk", "macau", "taiwan")
        self.name = rng.choice(pools.trad_names) if trad else person_name(rng, pools)
        if self.is_far:
            self.street = far_street(rng, pools, self.region, simplified=not trad)
        elif trad:
            self.street = trad_street(rng, pools)
        else:
            rural = self.region.street_prefix != "" or "县" in self.region.town
            self.street = street_line(rng, pools, rural=rural and rng.random() < 0.4)
        self.address = self.region.street_prefix + self.street
        self.postcode = "" if self.is_far else postcode_for(rng, prov_code)
        self.company = ""
        city_for_company = self.region.city
        self.company_source = city_for_company
        # Telephones: a mobile, a landline, both, or two mobiles.
        self.mobile = self.mobile_typed = self.phone = self.phone_typed = ""
        self.second_is_mobile = False
        if self.is_far:
            self.phone_typed, self.phone = far_phone(rng, flavour, self.region.city)
            return
        r = rng.random()
        if r < 0.62 or (r < 0.7 and trad):
            self.mobile = mobile_number(rng)
            self.mobile_typed = typed_mobile(rng, self.mobile)
        elif r < 0.76:
            self.phone_typed, self.phone = landline(rng, self.region.city)
        elif r < 0.94:
            self.mobile = mobile_number(rng)
            self.mobile_typed = typed_mobile(rng, self.mobile, plain_share=0.7)
            self.phone_typed, self.phone = landline(rng, self.region.city)
        else:
            self.mobile = mobile_number(rng)
            self.mobile_typed = typed_mobile(rng, self.mobile, plain_share=0.8)
            self.phone = mobile_number(rng)
            self.phone_typed = self.phone
        self.second_is_mobile = r >= 0.94

    def add_company(self, pools):
        self.company = company_name(self.rng, pools, self.company_source)

    def region_text(self, style="free", sep=""):
        return sep.join(self.region.parts(self.rng, style))

    def full_address(self, style="free", sep="", street_sep=None):
        """Region names and street line as one piece of text."""
        regions = self.region_text(style, sep)
        if street_sep is None:
            street_sep = sep
        return regions + street_sep + self.address if regions else self.address

    def phones(self):
        """Typed telephone strings, the mobile first."""
        return [p for p in (self.mobile_typed, self.phone_typed) if p]

    def phones_text(self, joiner=" "):
        """Both telephones as one piece; a blank never separates numbers that have blanks inside."""
        phones = self.phones()
        if joiner.strip() == "" and any(" " in p for p in phones):
            joiner = self.rng.choice([" / ", "，", "、"])
        return joiner.join(phones)

    def expect(self, country=""):
        return {"company": self.company, "name": self.name, "phone": self.phone, "mobile": self.mobile,
                "country": country, "province": self.region.province, "city": self.region.city,
                "town": self.region.town, "address": self.address, "postcode": self.postcode}


# ---------------------------------------------------------------------------
# Templates, one function per format variant. Each returns (text, expect).

def _c(rng):
    """A comma as senders type it."""
    return rng.choice(["，", "，", "，", ",", ", ", " ，"])


def _colon(rng):
    return rng.choice(["：", "：", "：", ":", ": ", " : "])


def shop_taobao_line(rng, rv, pools):
    # 收货地址：姓名，电话，省 市 区 街道地址 ，邮编
    phones = _c(rng).join(rv.phones()[::-1] if rv.phone_typed and not rv.second_is_mobile and rng.random() < 0.6 else rv.phones())
    pc = rv.postcode
    tail = rng.choice(["，（%s）" % pc, " ，%s" % pc, "，%s" % pc, " ，(%s)" % pc]) if pc else ""
    head = rng.choice(["收货地址：", "收货地址:", "收货地址： ", ""])
    text = "%s%s，%s，%s %s%s" % (head, rv.name, phones, rv.region_text("export", " "), rv.address, tail)
    return text, rv.expect()


def shop_jd_labels(rng, rv, pools):
    # 收货人: X 手机号: Y 所在地区: 省 市 区 详细地址: ...
    sep = rng.choice([" ", "  ", "\n", "，"])
    col = _colon(rng)
    parts = ["收货人%s%s" % (col, rv.name)]
    if rv.mobile_typed:
        parts.append("%s%s%s" % (rng.choice(["手机号", "手机号码", "联系电话"]), col, rv.mobile_typed))
    if rv.phone_typed:
        parts.append("%s%s%s" % (rng.choice(["固定电话", "座机", "电话"]) if not rv.mobile_typed or not getattr(rv, "second_is_mobile", False)
                                 else "备用电话", col, rv.phone_typed))
    parts.append("所在地区%s%s" % (col, rv.region_text("export", " ")))
    parts.append("详细地址%s%s" % (col, rv.address))
    if rv.postcode and rng.random() < 0.4:
        parts.append("邮政编码%s%s" % (col, rv.postcode))
    else:
        rv.postcode = ""
    return sep.join(parts), rv.expect()


def shop_copy_line(rng, rv, pools):
    # 张三，13812345678，浙江省 杭州市 西湖区 文三路100号，000000 (the marketplace's "copy address")
    c = _c(rng)
    text = c.join([rv.name, rv.phones_text(), rv.region_text("export", " ") + " " + rv.address])
    if rv.postcode and rng.random() < 0.5:
        text += c + rv.postcode
    else:
        rv.postcode = ""
    return text, rv.expect()


def shop_pdd(rng, rv, pools):
    # 收件人：X，手机号码：+86 Y，地址：浙江省杭州市西湖区...
    c = _c(rng)
    phone_label = "手机号码" if rv.mobile_typed else "联系电话"
    parts = ["收件人：" + rv.name, "%s：%s" % (phone_label, rv.phones_text())]
    parts.append("地址：" + rv.full_address("export", rng.choice(["", " "])))
    rv.postcode = ""
    return c.join(parts), rv.expect()


def shop_tmall_block(rng, rv, pools):
    # 订单导出：several labelled lines, the order number first
    lines = []
    if rng.random() < 0.5:
        lines.append("订单编号：%d" % rng.randrange(10 ** 17, 10 ** 18))
    lines.append("收货人姓名：" + rv.name)
    lines.append("联系手机：" + rv.mobile_typed if rv.mobile_typed else "联系电话：" + rv.phone_typed)
    if rv.mobile_typed and rv.phone_typed:
        lines.append("联系电话：" + rv.phone_typed)
    lines.append("收货地址：" + rv.full_address("export", " "))
    if rv.postcode and rng.random() < 0.5:
        lines.append("邮编：" + rv.postcode)
    else:
        rv.postcode = ""
    if rng.random() < 0.3:
        lines.append("买家留言：" + rng.choice(["请尽快发货", "不要放快递柜", "周末不在家，工作日送", "发顺丰"]))
    return "\n".join(lines), rv.expect()


def shop_bar_row(rng, rv, pools):
    # 张三 | 13812345678 | 北京 海淀区 ... (an order list copied from the seller's page)
    bar = rng.choice([" | ", "|", " ｜ "])
    parts = [rv.name, rv.phones_text(" / "), rv.full_address("export", " ")]
    rv.postcode = ""
    return bar.join(parts), rv.expect()


def shop_tab_row(rng, rv, pools):
    # a row of an exported order sheet, tab separated
    cells = [rv.name, rv.phones_text()] + rv.region.parts(rng, "export") + [rv.address]
    if rv.postcode:
        cells.append(rv.postcode)
    return "\t".join(cells), rv.expect()


def shop_address_first(rng, rv, pools):
    # 收货地址：浙江省 杭州市 西湖区 文三路100号，张三，13812345678
    c = _c(rng)
    text = "收货地址：%s%s%s%s%s" % (rv.region_text("export", " "), " ", rv.address, c, rv.name + c + c.join(rv.phones()))
    if rv.postcode and rng.random() < 0.5:
        text += c + rv.postcode
    else:
        rv.postcode = ""
    return text, rv.expect()


def shop_pdd_plus86(rng, rv, pools):
    # 张三 86-13812345678 浙江省杭州市西湖区文三路100号 (phone always with the country code)
    if rv.mobile:
        rv.mobile_typed = rng.choice(["86-", "+86 ", "+86-", "(+86)"]) + rv.mobile
    rv.postcode = ""
    return "%s %s %s" % (rv.name, rv.phones_text(), rv.full_address("export", "")), rv.expect()


NAME_LABELS = ["姓名", "收件人", "收货人", "联系人", "收件人姓名"]
MOBILE_LABELS = ["手机", "电话", "联系电话", "手机号码", "手机号"]
LANDLINE_LABELS = ["电话", "联系电话", "座机", "固话", "办公电话"]
ADDRESS_LABELS = ["地址", "详细地址", "收货地址", "收件地址"]


def phone_lines(rng, rv, col):
    lines = []
    if rv.is_far:
        return ["%s%s%s" % (rng.choice(["电话", "联系电话", "手机"]), col, rv.phone_typed)]
    if rv.mobile_typed and rv.phone_typed and rng.random() < 0.25 and not rv.second_is_mobile:
        lines.append("电话%s%s / %s" % (col, rv.phone_typed, rv.mobile_typed))
        return lines
    if rv.mobile_typed:
        lines.append("%s%s%s" % (rng.choice(MOBILE_LABELS), col, rv.mobile_typed))
    if rv.phone_typed:
        label = "备用电话" if getattr(rv, "second_is_mobile", False) else rng.choice(LANDLINE_LABELS)
        if label == lines[0].split(col)[0] if lines else False:
            label = "座机"
        lines.append("%s%s%s" % (label, col, rv.phone_typed))
    return lines


def labelled_lines(rng, rv, pools):
    col = _colon(rng)
    lines = ["%s%s%s" % (rng.choice(NAME_LABELS), col, rv.name)] + phone_lines(rng, rv, col)
    lines.append("%s%s%s" % (rng.choice(ADDRESS_LABELS), col, rv.full_address("free", rng.choice(["", "", " "]))))
    if rv.postcode and rng.random() < 0.5:
        lines.append("邮编%s%s" % (col, rv.postcode))
    else:
        rv.postcode = ""
    if rng.random() < 0.15:
        lines.append("备注%s%s" % (col, rng.choice(["周末送货", "请放门卫室", "到了打电话", "易碎品轻拿轻放"])))
    return "\n".join(lines), rv.expect()


def labelled_one_line(rng, rv, pools):
    col = _colon(rng)
    sep = rng.choice([" ", "  ", "，", "；", " , "])
    parts = ["%s%s%s" % (rng.choice(NAME_LABELS), col, rv.name)] + phone_lines(rng, rv, col)
    parts.append("%s%s%s" % (rng.choice(ADDRESS_LABELS), col, rv.full_address("free", "")))
    if rng.random() < 0.5:
        parts.insert(0, parts.pop())  # the address first
    rv.postcode = ""
    return sep.join(parts), rv.expect()


def labelled_region_fields(rng, rv, pools):
    # 省：/市：/区：/县：/区县：/镇区： lines, then the street line
    col = _colon(rng)
    lines = ["%s%s%s" % (rng.choice(NAME_LABELS), col, rv.name)] + phone_lines(rng, rv, col)
    parts = rv.region.parts(rng, "export")
    reg = rv.region
    labels_town = {"municipality": ["区", "区县"], "towncity": ["镇区", "镇/街道"]}.get(reg.flavour)
    if reg.town.endswith("县") or reg.town.endswith("旗"):
        labels_town = ["县", "区县"]
    labels_town = labels_town or ["区", "区县", "县/区"]
    prov_typed = reg.prov_forms[0] if reg.flavour != "municipality" else reg.prov_forms[rng.randrange(2)]
    lines.append("省%s%s" % (col, prov_typed))
    lines.append("市%s%s" % (col, reg.city_forms[0]))
    street = rv.address
    if reg.town:
        if rng.random() < 0.35 and not reg.street_prefix:
            # no district label: the street line starts with the district
            street = reg.town_forms[0] + rv.address
        else:
            lines.append("%s%s%s" % (rng.choice(labels_town), col, reg.town_forms[0]))
    lines.append("%s%s%s" % (rng.choice(["地址", "详细地址", "街道地址"]), col, street))
    if rv.postcode and rng.random() < 0.5:
        lines.append("邮编%s%s" % (col, rv.postcode))
    else:
        rv.postcode = ""
    return "\n".join(lines), rv.expect()


def labelled_area_then_detail(rng, rv, pools):
    # 所在地区：省 市 区 XX街道 \n 详细地址：... (the 街道 belongs to the street line)
    col = _colon(rng)
    lines = ["%s%s%s" % (rng.choice(NAME_LABELS), col, rv.name)] + phone_lines(rng, rv, col)
    area = rv.region_text("export", " ")
    plain = rv.region.flavour in ("ordinary", "municipality") and rv.region.town and "街道" not in rv.street
    jd = rng.choice(JIEDAO) if plain and rng.random() < 0.7 else ""
    if rv.region.street_prefix:
        jd, rv.address = rv.region.street_prefix, rv.street
    if jd:
        area += " " + jd
        rv.address = jd + rv.street
    lines.append("所在地区%s%s" % (col, area))
    lines.append("详细地址%s%s" % (col, rv.street))
    rv.postcode = ""
    return "\n".join(lines), rv.expect()


def labelled_company(rng, rv, pools):
    rv.add_company(pools)
    col = _colon(rng)
    lines = ["%s%s%s" % (rng.choice(["公司", "单位", "公司名称", "收件单位"]), col, rv.company),
             "%s%s%s" % (rng.choice(NAME_LABELS), col, rv.name)] + phone_lines(rng, rv, col)
    lines.append("%s%s%s" % (rng.choice(ADDRESS_LABELS), col, rv.full_address("free", "")))
    rv.postcode = ""
    sep = "\n" if rng.random() < 0.7 else " "
    return sep.join(lines), rv.expect()


def labelled_country(rng, rv, pools):
    col = _colon(rng)
    lines = ["%s%s%s" % (rng.choice(NAME_LABELS), col, rv.name)] + phone_lines(rng, rv, col)
    country = "" if rv.is_far else "中国"  # a 国家 line only where nobody would argue about it
    if country:
        lines.append("国家%s%s" % (col, country))
    lines.append("%s%s%s" % (rng.choice(ADDRESS_LABELS), col, rv.full_address("free", "")))
    if rv.postcode:
        lines.append("邮政编码%s%s" % (col, rv.postcode))
    return "\n".join(lines), rv.expect(country=country)


def labelled_brackets(rng, rv, pools):
    # 【收件人】张三 【电话】... 【地址】...
    items = [("收件人", rv.name)] + [(l.split("：")[0], l.split("：", 1)[1]) for l in phone_lines(rng, rv, "：")]
    items.append(("地址", rv.full_address("free", "")))
    sep = rng.choice(["\n", " ", ""])
    rv.postcode = ""
    return sep.join("【%s】%s" % kv for kv in items), rv.expect()


def labelled_blank_labels(rng, rv, pools):
    # labels followed by a blank only: "姓名 张三"
    lines = ["%s %s" % (rng.choice(["姓名", "收件人", "收货人"]), rv.name)]
    lines += [l.replace("：", " ") for l in phone_lines(rng, rv, "：")]
    lines.append("%s %s" % (rng.choice(["地址", "收货地址"]), rv.full_address("free", "")))
    if rv.postcode and rng.random() < 0.5:
        lines.append("邮编 " + rv.postcode)
    else:
        rv.postcode = ""
    return "\n".join(lines), rv.expect()


def labelled_address_first_block(rng, rv, pools):
    col = _colon(rng)
    lines = ["%s%s%s" % (rng.choice(ADDRESS_LABELS), col, rv.full_address("free", rng.choice(["", " "])))]
    lines.append("%s%s%s" % (rng.choice(NAME_LABELS), col, rv.name))
    lines += phone_lines(rng, rv, col)
    if rv.postcode and rng.random() < 0.6:
        lines.append("邮编%s%s" % (col, rv.postcode))
    else:
        rv.postcode = ""
    return "\n".join(lines), rv.expect()


def _seps(rng):
    return rng.choice([" ", " ", "  ", "，", ",", "　"])


def auction_name_phone_addr(rng, rv, pools):
    s = _seps(rng)
    rv.postcode = ""
    return s.join([rv.name, rv.phones_text(s), rv.full_address("free", "")]), rv.expect()


def auction_addr_name_phone(rng, rv, pools):
    s = _seps(rng)
    rv.postcode = ""
    return s.join([rv.full_address("free", ""), rv.name, rv.phones_text(s)]), rv.expect()


def auction_glued_name(rng, rv, pools):
    # 王小明广东省深圳市… 13812345678: the name glued before the province
    rv.postcode = ""
    reg = rv.region
    prov = reg.prov_forms[0]
    if reg.flavour == "municipality":
        start = reg.city_forms[0]
        body = start + reg.town_forms[0]
    elif reg.flavour in ("hk", "macau", "taiwan"):
        body = reg.prov_forms[0] + "".join(reg.city_forms[:1] + reg.town_forms[:1])
    else:
        body = prov + "".join(reg.city_forms[:1] + reg.town_forms[:1])
    body += rv.address
    return rv.name + body + _seps(rng) + rv.phones_text(_seps(rng)), rv.expect()


def auction_all_glued(rng, rv, pools):
    # 秦岚15912345670浙江省杭州市... nothing between name, number and address
    rv.postcode = ""
    if rv.mobile:
        rv.mobile_typed = rv.mobile
    if rv.phone and rv.mobile:
        rv.phone, rv.phone_typed = "", ""
    reg = rv.region
    body = "".join(reg.parts(rng, "export")) if reg.flavour != "municipality" else reg.city_forms[0] + reg.town_forms[0]
    phone = rv.mobile_typed or rv.phone_typed
    return rv.name + phone + body + rv.address, rv.expect()


def auction_phone_first(rng, rv, pools):
    s = _seps(rng)
    rv.postcode = ""
    return s.join([rv.phones_text(s), rv.name, rv.full_address("free", "")]), rv.expect()


def auction_with_postcode(rng, rv, pools):
    s = _seps(rng)
    parts = [rv.name, rv.phones_text(s), rv.full_address("free", "")]
    if rv.postcode:
        parts.append(rng.choice([rv.postcode, "邮编" + rv.postcode, "邮编:" + rv.postcode]))
    return s.join(parts), rv.expect()


def auction_three_lines(rng, rv, pools):
    rv.postcode = ""
    lines = [rv.name, rv.phones_text(), rv.full_address("free", rng.choice(["", " "]))]
    if rng.random() < 0.5:
        lines = [lines[2], lines[0], lines[1]]
    return "\n".join(lines), rv.expect()


def auction_slash(rng, rv, pools):
    rv.postcode = ""
    return " / ".join([rv.name, rv.phones_text(" / "), rv.full_address("free", " ")]), rv.expect()


def auction_bracket_phone(rng, rv, pools):
    # 张三(13812345678) 浙江省...
    rv.postcode = ""
    open_, close = rng.choice([("(", ")"), ("（", "）"), ("[", "]")])
    return "%s%s%s%s %s" % (rv.name, open_, rv.phones_text(), close, rv.full_address("free", "")), rv.expect()


CHAT_THANKS = ["谢谢", "谢谢！", "谢谢啦", "辛苦了", "麻烦了，谢谢", "感谢~", "谢谢老板"]


def chat_please_send(rng, rv, pools):
    rv.postcode = ""
    c = _c(rng)
    text = "%s%s%s收件人%s%s电话%s%s%s" % (rng.choice(["麻烦寄到", "麻烦发到", "请寄到", "寄到"]), rv.full_address("free", ""), c,
                                    rng.choice(["", "：", " "]), rv.name + c, rng.choice(["", "：", " "]), rv.phones_text(),
                                    c + rng.choice(CHAT_THANKS))
    return text, rv.expect()


def chat_company_after(rng, rv, pools):
    # 寄：地址 某某公司 张三 138...
    rv.add_company(pools)
    rv.postcode = ""
    s = rng.choice([" ", "，", "  "])
    text = "%s%s%s%s%s%s%s%s" % (rng.choice(["寄：", "寄:", "寄到：", "发到："]), rv.full_address("free", ""), s, rv.company, s,
                                 rv.name, s, rv.phones_text())
    return text, rv.expect()


def chat_sf(rng, rv, pools):
    rv.postcode = ""
    c = _c(rng)
    head = rng.choice(["发顺丰", "麻烦发顺丰", "发顺丰到付", "走顺丰吧"])
    if rng.random() < 0.5:
        return c.join([head, rv.full_address("free", ""), rv.name, rv.phones_text()]), rv.expect()
    return c.join([rv.name, rv.phones_text(), rv.full_address("free", ""), head]), rv.expect()


def chat_shou_paren(rng, rv, pools):
    # 地址（李四 收）138...
    rv.postcode = ""
    open_, close = rng.choice([("（", "）"), ("(", ")")])
    return "%s%s%s %s%s %s" % (rv.full_address("free", ""), open_, rv.name, rng.choice(["收", "收 ", " 收"]), close,
                               rv.phones_text()), rv.expect()


def chat_shou_tail(rng, rv, pools):
    # 地址 李四收 138...
    rv.postcode = ""
    s = rng.choice([" ", "，"])
    return "%s%s%s收%s%s" % (rv.full_address("free", ""), s, rv.name, s, rv.phones_text()), rv.expect()


def chat_qq(rng, rv, pools):
    # a QQ number that is no postcode
    rv.postcode = ""
    qq = str(rng.randrange(100000, 999999))
    c = _c(rng)
    text = "%s地址是%s%s%s%s%s%sQQ:%s %s" % (rng.choice(["老板，", "你好，", ""]), rv.full_address("free", ""), c, rv.name, c,
                                          rv.phones_text(), c, qq, rng.choice(["有问题联系", "", "加我说"]))
    return text.strip(), rv.expect()


def chat_long(rng, rv, pools):
    c = _c(rng)
    parts = [rng.choice(["你好", "老板好", "亲"]) + "，帮我发到" + rv.full_address("free", ""), "收货人" + rv.name,
             rng.choice(["手机", "电话"]) + rv.phones_text()]
    if rv.postcode:
        parts.append("邮编" + rv.postcode)
    parts.append(rng.choice(["麻烦发顺丰，谢谢！", "尽快发货哦", "谢谢！"]))
    return c.join(parts), rv.expect()


def chat_two_lines(rng, rv, pools):
    rv.postcode = ""
    emoji = rng.choice(["😊", "🙏", "[抱拳]", "~", ""])
    return "%s地址：%s\n%s %s\n%s%s" % (rng.choice(["亲，", "", "老板 "]), rv.full_address("free", ""), rv.name,
                                     rv.phones_text(), rng.choice(["尽快发货哦", "明天能到吗", "到了打电话"]), emoji), rv.expect()


def chat_my_address(rng, rv, pools):
    rv.postcode = ""
    c = _c(rng)
    return "我的地址%s%s%s%s%s%s %s" % (rng.choice(["", "：", "是"]), rv.full_address("free", ""), c, rv.name, c,
                                      rv.phones_text(), rng.choice(["到了打电话", "谢谢", "放门口就行"])), rv.expect()


def card_standard(rng, rv, pools):
    rv.add_company(pools)
    col = _colon(rng)
    lines = [rv.company, "%s %s" % (rv.name, rng.choice(TITLES))]
    if rv.phone_typed:
        lines.append("%s%s%s" % (rng.choice(["电话", "Tel", "座机"]) if not rv.second_is_mobile else "手机2", col, rv.phone_typed))
    if rv.mobile_typed:
        lines.append("%s%s%s" % (rng.choice(["手机", "Mob", "手机"]), col, rv.mobile_typed))
    if rng.random() < 0.6:
        fax, _ = landline(rng, rv.region.city)
        lines.append("传真%s%s" % (col, fax))
    lines.append("地址%s%s" % (col, rv.full_address("free", "")))
    rv.postcode = ""
    return "\n".join(lines), rv.expect()


def card_name_first(rng, rv, pools):
    rv.add_company(pools)
    lines = ["%s  %s" % (rng.choice(TITLES), rv.name) if rng.random() < 0.3 else "%s（%s）" % (rv.name, rng.choice(TITLES)), rv.company]
    lines.append(rv.full_address("free", ""))
    phones = []
    if rv.phone_typed and not rv.second_is_mobile:
        phones.append("T: " + rv.phone_typed)
    elif rv.phone_typed:
        phones.append("M: " + rv.phone_typed)
    if rv.mobile_typed:
        phones.insert(0, "M: " + rv.mobile_typed)
    lines.append("  ".join(phones))
    rv.postcode = ""
    return "\n".join(lines), rv.expect()


def card_with_mail(rng, rv, pools):
    rv.add_company(pools)
    col = _colon(rng)
    lines = [rv.company, rv.name + " " + rng.choice(TITLES)]
    lines.append("地址%s%s" % (col, rv.full_address("free", "")))
    if rv.postcode:
        lines.append("邮编%s%s" % (col, rv.postcode))
    if rv.phone_typed:
        lines.append("电话%s%s" % (col, rv.phone_typed))
    if rv.mobile_typed:
        lines.append("手机%s%s" % (col, rv.mobile_typed))
    lines.append("邮箱%s%s@%s.com" % (col, rng.choice(["sales", "info", "service", "hr"]), rng.choice(["hxtech", "dsgroup", "rf-food", "mail"])))
    if rng.random() < 0.4:
        lines.append("网址%swww.%s.cn" % (col, rng.choice(["hxtech", "dsgroup", "rf-food", "hongda"])))
    if rv.mobile_typed and rv.phone_typed:
        lines[3:] = sorted(lines[3:], key=lambda l: 0 if l.startswith(("电话", "手机")) else 1)
    return "\n".join(lines), rv.expect()


def card_address_first(rng, rv, pools):
    rv.add_company(pools)
    rv.postcode = ""
    lines = [rv.full_address("free", ""), rv.company + " " + rv.name]
    if rv.mobile_typed:
        lines.append("手机 " + rv.mobile_typed)
    if rv.phone_typed:
        lines.append(("电话 " if not rv.second_is_mobile else "手机 ") + rv.phone_typed)
    return "\n".join(lines), rv.expect()


def _t_region(rng, rv, sep=""):
    parts = rv.region.parts(rng, "free")
    return sep.join(parts)


def trad_labelled(rng, rv, pools):
    col = _colon(rng)
    lines = ["%s%s%s" % (rng.choice(["收件人", "姓名", "收貨人", "聯絡人"]), col, rv.name)]
    if rv.mobile_typed:
        lines.append("%s%s%s" % (rng.choice(["手機", "電話", "聯絡電話"]), col, rv.mobile_typed))
    if rv.phone_typed:
        lines.append("%s%s%s" % ("電話" if not lines[-1].startswith("電話") else "座機", col, rv.phone_typed))
    lines.append("%s%s%s" % (rng.choice(["地址", "詳細地址", "收貨地址"]), col, _t_region(rng, rv, rng.choice(["", " "])) + rv.address))
    rv.postcode = ""
    return "\n".join(lines), rv.expect()


def trad_one_line(rng, rv, pools):
    s = rng.choice([" ", "，", "  "])
    rv.postcode = ""
    parts = [_t_region(rng, rv) + rv.address, rv.name, rv.phones_text(s)]
    if rng.random() < 0.5:
        parts = [rv.name, rv.phones_text(s), parts[0]]
    return s.join(parts), rv.expect()


def trad_shop(rng, rv, pools):
    # 收貨人: X 手機號: Y 所在地區: ... 詳細地址: ...
    col = _colon(rng)
    parts = ["收貨人%s%s" % (col, rv.name), "%s%s%s" % ("手機號" if rv.mobile_typed else "電話", col, rv.phones_text()),
             "所在地區%s%s" % (col, " ".join(rv.region.parts(rng, "export"))), "詳細地址%s%s" % (col, rv.address)]
    rv.postcode = ""
    return rng.choice([" ", "\n"]).join(parts), rv.expect()


def trad_company(rng, rv, pools):
    rv.company = rng.choice(pools.trad_companies)
    col = _colon(rng)
    lines = [rv.company, "%s %s" % (rv.name, rng.choice(["經理", "總經理", "採購主管", "業務代表"]))]
    lines.append("電話%s%s" % (col, rv.phones_text()))
    lines.append("地址%s%s" % (col, _t_region(rng, rv) + rv.address))
    rv.postcode = ""
    return "\n".join(lines), rv.expect()


def trad_chat(rng, rv, pools):
    rv.postcode = ""
    c = _c(rng)
    return "%s%s%s收件人%s%s電話%s%s" % (rng.choice(["麻煩寄到", "請寄到", "寄到"]), _t_region(rng, rv) + rv.address, c, rv.name, c,
                                    rv.phones_text(), c + rng.choice(["謝謝", "謝謝！", "麻煩了"])), rv.expect()


def trad_shou(rng, rv, pools):
    rv.postcode = ""
    return "%s（%s 收）%s" % (_t_region(rng, rv) + rv.address, rv.name, rv.phones_text()), rv.expect()


# (function, held-out only?) per kind; about a third of each kind's variants are held out.
HELDOUT_ONLY = True
TEMPLATES = {
    "shop": [(shop_taobao_line, False), (shop_jd_labels, False), (shop_copy_line, False), (shop_pdd, False),
             (shop_tmall_block, False), (shop_bar_row, False), (shop_tab_row, HELDOUT_ONLY),
             (shop_address_first, HELDOUT_ONLY), (shop_pdd_plus86, HELDOUT_ONLY)],
    "labelled": [(labelled_lines, False), (labelled_one_line, False), (labelled_region_fields, False),
                 (labelled_area_then_detail, False), (labelled_company, False), (labelled_country, False),
                 (labelled_brackets, HELDOUT_ONLY), (labelled_blank_labels, HELDOUT_ONLY),
                 (labelled_address_first_block, HELDOUT_ONLY)],
    "auction": [(auction_name_phone_addr, False), (auction_addr_name_phone, False), (auction_glued_name, False),
                (auction_all_glued, False), (auction_phone_first, False), (auction_with_postcode, False),
                (auction_three_lines, HELDOUT_ONLY), (auction_slash, HELDOUT_ONLY), (auction_bracket_phone, HELDOUT_ONLY)],
    "chat": [(chat_please_send, False), (chat_company_after, False), (chat_sf, False), (chat_shou_paren, False),
             (chat_shou_tail, False), (chat_qq, False), (chat_long, HELDOUT_ONLY), (chat_two_lines, HELDOUT_ONLY),
             (chat_my_address, HELDOUT_ONLY)],
    "card": [(card_standard, False), (card_name_first, False), (card_with_mail, HELDOUT_ONLY),
             (card_address_first, HELDOUT_ONLY)],
    "traditional": [(trad_labelled, False), (trad_one_line, False), (trad_shop, False), (trad_company, False),
                    (trad_chat, HELDOUT_ONLY), (trad_shou, HELDOUT_ONLY)],
}


# ---------------------------------------------------------------------------
# Messy texts: some extra words, emoji or odd punctuation around the fields.

MESSY_PREFIXES = ["【急】", "亲~ ", "您好～", "老板你好！", "在吗？", "下单了 ", "✨"]
MESSY_SUFFIXES = ["😊", "～～", "！！", " [微笑]", "🙏🙏", "。。。", " 急用，尽快发"]


def mess_up(rng, text):
    if rng.random() < 0.5:
        text = rng.choice(MESSY_PREFIXES) + text
    else:
        text = text + rng.choice(MESSY_SUFFIXES)
    return text


def make_part(part, div):
    rng = random.Random(SEED_TUNING if part == "tuning" else SEED_HELDOUT)
    pools = Pools(part)
    picker = RegionPicker(div, part)
    rows = []
    seen = set()
    for kind, count in COUNTS[part].items():
        templates = [f for f, held in TEMPLATES[kind] if part == "heldout" or not held]
        made = 0
        while made < count:
            template = templates[made % len(templates)] if made < len(templates) else rng.choice(templates)
            if kind == "traditional":
                rv = Receiver(rng, pools, picker, trad=rng.choice(["far", "far", "mainland"]))
            else:
                far = kind in ("shop", "labelled", "chat", "auction") and rng.random() < 0.06
                rv = Receiver(rng, pools, picker, far=far)
            text, expect = template(rng, rv, pools)
            if kind not in ("card",) and rng.random() < 0.12:
                text = mess_up(rng, text)
            if text in seen:
                continue
            seen.add(text)
            rows.append({"text": text, "kind": kind, "expect": expect})
            made += 1
    return rows


# ---------------------------------------------------------------------------
# Self-check of the data (the texts and expected values, not any parser)

FAR_TABLES = {"香港": HK, "澳门": MACAU, "台湾省": TAIWAN}


def valid_region(div, e):
    prov, city, town = e["province"], e["city"], e["town"]
    if prov in FAR_TABLES:
        return city in FAR_TABLES[prov] and town in FAR_TABLES[prov][city]
    codes = div.province_of_name(prov)
    if len(codes) != 1:
        return False
    pcode = codes[0]
    if pcode in MUNICIPALITIES:
        return city == div.provinces[pcode] and any(c[:2] == pcode and n == town for c, n in div.counties.items())
    for pc, pn, towns in TOWN_CITIES:
        if city == pn:
            in_table = any(c[:2] == pcode and n == city for c, n in list(div.prefectures.items()) + list(div.counties.items()))
            return pc == prov and in_table and town in towns
    prefs = [c for c in div.prefecture_named(city) if c[:2] == pcode]
    if not prefs:
        return False
    return town == "" or div.county_under(city, town)


def digits(s):
    return re.sub(r"\D", "", s)


def check(rows, div, label):
    problems = []
    for i, row in enumerate(rows, 1):
        text, e = row["text"], row["expect"]
        where = "%s line %d" % (label, i)
        if set(e) != set(FIELDS):
            problems.append("%s: fields %s" % (where, sorted(e)))
        if not valid_region(div, e):
            problems.append("%s: region %s/%s/%s not in the tables" % (where, e["province"], e["city"], e["town"]))
        # "所在地区：… XX街道" + "详细地址：…": the two pieces make the street line
        joined = re.sub(r"\s*\n\s*详细地址\s*[：:]\s*", "", text)
        for field in ("address", "name", "company"):
            if e[field] and e[field] not in text and e[field] not in joined:
                problems.append("%s: %s %r not in the text" % (where, field, e[field]))
        if not e["name"] or not e["address"]:
            problems.append("%s: no name or no address" % where)
        for field in ("phone", "mobile", "postcode"):
            if e[field] and digits(e[field]) not in digits(text):
                problems.append("%s: %s %r not in the text" % (where, field, e[field]))
        if e["mobile"] and not re.fullmatch(r"1\d{10}", e["mobile"]):
            problems.append("%s: mobile %r" % (where, e["mobile"]))
        if e["postcode"] and (not re.fullmatch(r"\d{6}", e["postcode"]) or e["postcode"] not in text):
            problems.append("%s: postcode %r" % (where, e["postcode"]))
        if not e["phone"] and not e["mobile"]:
            problems.append("%s: no telephone" % where)
        if e["country"] not in ("", "中国"):
            problems.append("%s: country %r" % (where, e["country"]))
    return problems


def disjoint_problems(tuning, heldout):
    problems = []
    texts = [r["text"] for r in tuning + heldout]
    if len(set(texts)) != len(texts):
        problems.append("a text appears twice")
    for field in ("name", "address", "company"):
        shared = {r["expect"][field] for r in tuning} & {r["expect"][field] for r in heldout} - {""}
        if shared:
            problems.append("%s shared by both parts: %s" % (field, sorted(shared)[:5]))
    return problems


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--check", action="store_true", help="validate only, write nothing")
    args = ap.parse_args()
    div = Divisions(DIVISIONS)
    parts = {part: make_part(part, div) for part in ("tuning", "heldout")}
    problems = disjoint_problems(parts["tuning"], parts["heldout"])
    for part, rows in parts.items():
        problems += check(rows, div, part)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        raise SystemExit("%d problems" % len(problems))
    for part, rows in parts.items():
        counts = {}
        for r in rows:
            counts[r["kind"]] = counts.get(r["kind"], 0) + 1
        print(part, len(rows), counts)
        if not args.check:
            path = OUT_DIR / ("address_corpus_%s.jsonl" % part)
            with path.open("w", encoding="utf-8") as f:
                for r in rows:
                    f.write(json.dumps(r, ensure_ascii=False) + "\n")


if __name__ == "__main__":
    main()
