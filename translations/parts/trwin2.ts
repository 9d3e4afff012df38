<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CrossCheckPanel</name>
    <message>
        <source>使用仪器测得的深度</source>
        <translation>Using the probe&apos;s depth</translation>
    </message>
    <message>
        <source>盐度</source>
        <translation>Salinity</translation>
    </message>
    <message>
        <source>深度</source>
        <translation>Depth</translation>
    </message>
    <message>
        <source>方程</source>
        <translation>Equation</translation>
    </message>
    <message>
        <source>计算声速</source>
        <translation>Calc. SV</translation>
    </message>
    <message>
        <source>实测−计算</source>
        <translation>Meas.−calc.</translation>
    </message>
    <message>
        <source>反算盐度</source>
        <translation>Implied sal.</translation>
    </message>
    <message>
        <source>超出该方程的适用范围时以红色显示</source>
        <translation>Shown in red outside the range this equation is valid for</translation>
    </message>
</context>
<context>
    <name>LogReader</name>
    <message>
        <source>无法打开 %1：%2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>是文件夹</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>%1 不是测量日志或原始记录</source>
        <translation>%1 is neither a measurement log nor a raw recording</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message numerus="yes">
        <source>第 %1 行无法读取</source>
        <translation>
            <numerusform>Line %1 could not be read</numerusform>
            <numerusform>Lines %1 could not be read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>第 %1 行等 %n 行无法读取</source>
        <translation>
            <numerusform>Lines %1 and more could not be read, %n line in all</numerusform>
            <numerusform>Lines %1 and more could not be read, %n lines in all</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MapPanel</name>
    <message>
        <source>导出航迹</source>
        <translation>Export Track</translation>
    </message>
    <message>
        <source>全部航迹</source>
        <translation>Whole Track</translation>
    </message>
    <message>
        <source>缩放到整个航迹并随船位移动（也可双击地图）</source>
        <translation>Zoom to the whole track and follow the vessel (or double-click the map)</translation>
    </message>
    <message>
        <source>把航迹的读数导出为 GeoJSON、KML 或 GPX 文件</source>
        <translation>Export the track&apos;s readings as a GeoJSON, KML or GPX file</translation>
    </message>
    <message>
        <source>带位置的读数 %1；船位 %2, %3</source>
        <translation>Positioned readings: %1; vessel %2, %3</translation>
    </message>
    <message>
        <source>带位置的读数 %1</source>
        <translation>Positioned readings: %1</translation>
    </message>
    <message>
        <source>已导出：%1</source>
        <translation>Exported: %1</translation>
    </message>
</context>
<context>
    <name>MapTrackLayer</name>
    <message>
        <source>北</source>
        <translation>N</translation>
    </message>
</context>
<context>
    <name>MapView</name>
    <message>
        <source>东向 (m)</source>
        <translation>East (m)</translation>
    </message>
    <message>
        <source>北向 (m)</source>
        <translation>North (m)</translation>
    </message>
    <message>
        <source>声速 (m/s)</source>
        <translation>Sound speed (m/s)</translation>
    </message>
    <message>
        <source>标记读数</source>
        <translation>Flagged readings</translation>
    </message>
    <message>
        <source>船位与航向</source>
        <translation>Vessel and heading</translation>
    </message>
</context>
<context>
    <name>OutputEditor</name>
    <message>
        <source>串口</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>声速 2 位小数</source>
        <translation>SV, 2 decimals</translation>
    </message>
    <message>
        <source>声速 3 位小数</source>
        <translation>SV, 3 decimals</translation>
    </message>
    <message>
        <source>声速和温度</source>
        <translation>SV and temp.</translation>
    </message>
    <message>
        <source>仪器原始行</source>
        <translation>Raw probe line</translation>
    </message>
    <message>
        <source>全部有效读数</source>
        <translation>All valid</translation>
    </message>
    <message>
        <source>仅合格读数</source>
        <translation>Good only</translation>
    </message>
    <message>
        <source>哪些读数输出</source>
        <translation>Which readings are sent</translation>
    </message>
    <message>
        <source>输出方式</source>
        <translation>Output type</translation>
    </message>
    <message>
        <source>串口名或设备路径</source>
        <translation>Port or path</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>目标主机</source>
        <translation>Target host</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>语句格式</source>
        <translation>Sentence format</translation>
    </message>
    <message>
        <source>保持上一合格值</source>
        <translation>Hold last good</translation>
    </message>
    <message>
        <source>读数被拦截时，每秒重发上一合格值，直到数据过期</source>
        <translation>While readings are blocked, resend the last good value every second until the data go stale</translation>
    </message>
    <message>
        <source>%1
合格读数：%2</source>
        <translation>%1
Good readings: %2</translation>
    </message>
</context>
<context>
    <name>OutputList</name>
    <message>
        <source>，保持</source>
        <translation>, hold</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>输出</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>格式</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>条件</source>
        <translation>Gate</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>已发送</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>已拦截</source>
        <translation>Blocked</translation>
    </message>
    <message>
        <source>已丢弃</source>
        <translation>Dropped</translation>
    </message>
    <message>
        <source>最后发送</source>
        <translation>Last sent</translation>
    </message>
</context>
<context>
    <name>OutputsPanel</name>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>按左侧各项新增一个输出</source>
        <translation>Add an output as set on the left</translation>
    </message>
    <message>
        <source>把左侧各项用于选中的输出</source>
        <translation>Apply the entries on the left to the selected output</translation>
    </message>
    <message>
        <source>%1（在“设置 › 质量”中修改）</source>
        <translation>%1 (change it in Settings › Quality)</translation>
    </message>
    <message numerus="yes">
        <source>最多只能设置 %n 个输出</source>
        <translation>
            <numerusform>At most %n output can be set</numerusform>
            <numerusform>At most %n outputs can be set</numerusform>
        </translation>
    </message>
    <message>
        <source>输出 %1（%2）正在发送，删除后接收方将收不到数据。删除吗？</source>
        <translation>Output %1 (%2) is sending; once it is removed its receivers get no more data. Remove it?</translation>
    </message>
</context>
<context>
    <name>RawRecordingParser</name>
    <message>
        <source>原始记录没有逐行时间：各行的时间按开始与结束时间均匀估计</source>
        <translation>The raw recording has no time for each line: line times are spread evenly from its start to its end</translation>
    </message>
    <message>
        <source>原始记录没有可用的结束时间行：结束时间取文件的修改时间</source>
        <translation>The raw recording has no usable end line: the end time is the file&apos;s modification time</translation>
    </message>
    <message>
        <source>原始记录没有可用的结束时间：按每秒一行估计</source>
        <translation>The raw recording has no usable end time: one line a second is assumed</translation>
    </message>
    <message>
        <source>最后一行不完整</source>
        <translation>The last line is incomplete</translation>
    </message>
</context>
<context>
    <name>ReportCommand</name>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
</context>
<context>
    <name>ReviewPlot</name>
    <message>
        <source>端口断开/恢复</source>
        <translation>Port lost/back</translation>
    </message>
    <message>
        <source>配置</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>输入格式</source>
        <translation>Input format</translation>
    </message>
</context>
<context>
    <name>ReviewWindow</name>
    <message>
        <source>导出PNG</source>
        <translation>Export PNG</translation>
    </message>
    <message>
        <source>生成报告</source>
        <translation>PDF Report</translation>
    </message>
    <message>
        <source>打开记录</source>
        <translation>Open Log</translation>
    </message>
    <message>
        <source>记录回顾 — %1</source>
        <translation>Log Review — %1</translation>
    </message>
    <message>
        <source>原始记录：各行时间为估计值</source>
        <translation>Raw recording: line times are estimated</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>全部</source>
        <translation>All</translation>
    </message>
    <message>
        <source>文件写入失败：
%1</source>
        <translation>Could not write the file:
%1</translation>
    </message>
    <message>
        <source>可见范围</source>
        <translation>Span shown</translation>
    </message>
    <message>
        <source>曲线</source>
        <translation>Plot</translation>
    </message>
    <message>
        <source>地图</source>
        <translation>Map</translation>
    </message>
</context>
<context>
    <name>SessionMap</name>
    <message>
        <source>声速 (m/s)</source>
        <translation>Sound speed (m/s)</translation>
    </message>
</context>
<context>
    <name>SessionPlot</name>
    <message>
        <source>没有读数</source>
        <translation>No readings</translation>
    </message>
    <message>
        <source>时间 (UTC)，%1 起</source>
        <translation>Time (UTC) from %1</translation>
    </message>
    <message>
        <source>合格读数（间断处断开）</source>
        <translation>Good readings (broken at gaps)</translation>
    </message>
    <message>
        <source>超限或尖峰读数（超出坐标的画在边上）</source>
        <translation>Out of range or spike (off-scale ones at the edge)</translation>
    </message>
    <message>
        <source>声速 (m/s)</source>
        <translation>Sound speed (m/s)</translation>
    </message>
</context>
<context>
    <name>SessionReport</name>
    <message>
        <source>起 (UTC)</source>
        <translation>From (UTC)</translation>
    </message>
    <message>
        <source>止 (UTC)</source>
        <translation>To (UTC)</translation>
    </message>
    <message>
        <source>时长</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message numerus="yes">
        <source>以上为前 %1 项，共 %n 项</source>
        <translation>
            <numerusform>The first %1 of %n are listed above</numerusform>
            <numerusform>The first %1 of %n are listed above</numerusform>
        </translation>
    </message>
    <message>
        <source>未结束</source>
        <translation>Not ended</translation>
    </message>
    <message>
        <source>无法绘制报告</source>
        <translation>Cannot draw the report</translation>
    </message>
    <message>
        <source>声速测量报告</source>
        <translation>Sound Velocity Report</translation>
    </message>
    <message>
        <source>（估计）</source>
        <translation> (estimated)</translation>
    </message>
    <message>
        <source>文件与时间</source>
        <translation>Files and times</translation>
    </message>
    <message>
        <source>原始记录</source>
        <translation>Raw recording</translation>
    </message>
    <message>
        <source>测量日志</source>
        <translation>Measurement log</translation>
    </message>
    <message>
        <source>开始 (UTC)</source>
        <translation>Start (UTC)</translation>
    </message>
    <message>
        <source>结束 (UTC)</source>
        <translation>End (UTC)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>串口与仪器配置</source>
        <translation>Port and instrument configuration</translation>
    </message>
    <message>
        <source>串口：%1    线路设置：%2    输入格式：%3</source>
        <translation>Port: %1    Line settings: %2    Input format: %3</translation>
    </message>
    <message>
        <source>发送的配置命令：%1</source>
        <translation>Configuration commands sent: %1</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message numerus="yes">
        <source>会话中的配置过程：%n 次</source>
        <translation>
            <numerusform>Configuration runs in the session: %n</numerusform>
            <numerusform>Configuration runs in the session: %n</numerusform>
        </translation>
    </message>
    <message>
        <source>统计（合格读数）</source>
        <translation>Figures (good readings)</translation>
    </message>
    <message>
        <source>计数</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>最小</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>最大</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>平均</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>标准差</source>
        <translation>Standard deviation</translation>
    </message>
    <message>
        <source>畸形行</source>
        <translation>malformed lines</translation>
    </message>
    <message>
        <source>无法读取的行</source>
        <translation>unreadable lines</translation>
    </message>
    <message>
        <source>有效读数 %1 行，速率 %2 行/秒；标记：超限 %3，尖峰 %4；%5 %6</source>
        <translation>Valid readings: %1, rate %2 lines/s; flagged: out of range %3, spikes %4; %5: %6</translation>
    </message>
    <message>
        <source>间断与断线</source>
        <translation>Gaps and port losses</translation>
    </message>
    <message>
        <source>读数间隔超过 %1 的间断：%2 处，共 %3</source>
        <translation>Gaps between readings longer than %1: %2, %3 in all</translation>
    </message>
    <message numerus="yes">
        <source>串口断开：%n 次</source>
        <translation>
            <numerusform>Port lost: %n time</numerusform>
            <numerusform>Port lost: %n times</numerusform>
        </translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarms</translation>
    </message>
    <message>
        <source>与声速方程的比对（盐度 %1，深度 %2 m，合格且带温度的读数 %3 行）</source>
        <translation>Equation cross-check (salinity %1, depth %2 m; good readings with temp.: %3)</translation>
    </message>
    <message>
        <source>（超出适用范围）</source>
        <translation> (outside validity range)</translation>
    </message>
    <message>
        <source>方程</source>
        <translation>Equation</translation>
    </message>
    <message>
        <source>实测−计算 平均 (m/s)</source>
        <translation>Mean measured−computed (m/s)</translation>
    </message>
    <message>
        <source>推算盐度</source>
        <translation>Implied salinity</translation>
    </message>
    <message>
        <source>说明</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>航迹（按声速着色）</source>
        <translation>Track (coloured by sound speed)</translation>
    </message>
    <message>
        <source>带位置的读数 %1 行；起点 %2（%3 UTC），终点 %4（%5 UTC）</source>
        <translation>Positioned readings: %1; start %2 (%3 UTC), end %4 (%5 UTC)</translation>
    </message>
    <message>
        <source>温度 (°C)</source>
        <translation>Temperature (°C)</translation>
    </message>
    <message>
        <source>报警</source>
        <comment>table column</comment>
        <translation>Alarm</translation>
    </message>
</context>
<context>
    <name>TrackCommand</name>
    <message>
        <source>未知的航迹格式：%1</source>
        <translation>Unknown track format: %1</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>TrendFigures</name>
    <message>
        <source>声速</source>
        <translation>Sound speed</translation>
    </message>
    <message>
        <source>平均声速</source>
        <translation>Block average</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>异常</source>
        <translation>Flagged</translation>
    </message>
    <message>
        <source>读数 (合格)</source>
        <translation>Count (good)</translation>
    </message>
    <message>
        <source>速率 (行/秒)</source>
        <translation>Rate (lines/s)</translation>
    </message>
    <message>
        <source>最小 (m/s)</source>
        <translation>Min (m/s)</translation>
    </message>
    <message>
        <source>最大 (m/s)</source>
        <translation>Max (m/s)</translation>
    </message>
    <message>
        <source>平均 (m/s)</source>
        <translation>Mean (m/s)</translation>
    </message>
    <message>
        <source>标准差 (m/s)</source>
        <translation>Std dev (m/s)</translation>
    </message>
    <message>
        <source>平均温度 (°C)</source>
        <translation>Mean temp (°C)</translation>
    </message>
    <message>
        <source>超限 / 尖峰</source>
        <translation>Range / spike</translation>
    </message>
    <message>
        <source>畸形行</source>
        <translation>Malformed</translation>
    </message>
    <message>
        <source>间断 / 时长</source>
        <translation>Gaps / length</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>停滞</source>
        <translation>Stale</translation>
    </message>
    <message>
        <source>已关闭</source>
        <translation>Closed</translation>
    </message>
    <message>
        <source>已断开</source>
        <translation>Lost</translation>
    </message>
    <message>
        <source>畸形/校验/未识别</source>
        <translation>Bad/cksum/unrec.</translation>
    </message>
    <message>
        <source>数据流</source>
        <translation>Stream</translation>
    </message>
    <message>
        <source>最后有效 (UTC)</source>
        <translation>Last valid (UTC)</translation>
    </message>
</context>
<context>
    <name>TrendPlot</name>
    <message>
        <source>时间 (UTC)</source>
        <translation>Time (UTC)</translation>
    </message>
    <message>
        <source>声速 (m/s)</source>
        <translation>Sound speed (m/s)</translation>
    </message>
    <message>
        <source>温度 (°C)</source>
        <translation>Temperature (°C)</translation>
    </message>
</context>
<context>
    <name>TrendView</name>
    <message>
        <source>5 分钟</source>
        <translation>5 min</translation>
    </message>
    <message>
        <source>30 分钟</source>
        <translation>30 min</translation>
    </message>
    <message>
        <source>2 小时</source>
        <translation>2 h</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>导出PNG</source>
        <translation>Export PNG</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>打开记录</source>
        <translation>Open Log</translation>
    </message>
    <message>
        <source>生成报告</source>
        <translation>PDF Report</translation>
    </message>
    <message>
        <source>独立窗口</source>
        <translation>Detach</translation>
    </message>
    <message>
        <source>CSV / 原始记录 (*)</source>
        <translation>CSV / raw recording (*)</translation>
    </message>
    <message>
        <source>显示范围</source>
        <translation>Span shown</translation>
    </message>
    <message>
        <source>统计</source>
        <translation>Stats</translation>
    </message>
    <message>
        <source>声速校核</source>
        <translation>SV check</translation>
    </message>
    <message>
        <source>无数据</source>
        <translation>No data</translation>
    </message>
    <message>
        <source>仅有 %1 的数据</source>
        <translation>Only %1 of data</translation>
    </message>
    <message>
        <source>文件写入失败：
%1</source>
        <translation>Could not write the file:
%1</translation>
    </message>
    <message>
        <source>实时数据</source>
        <translation>Live data</translation>
    </message>
    <message>
        <source>（文件名中的时间为本地时间 %1）</source>
        <translation> (the time in the file name is local, %1)</translation>
    </message>
</context>
</TS>
