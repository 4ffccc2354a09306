-- The lotteries shipped with the program: for each, a draw table
-- (issue, number columns "1".., draw date) and an options table of one row.
-- Histories are not shipped; users import their own.
create table 中国福彩双色球彩票号码表(记录期号 varchar(7),"1" integer,"2" integer,"3" integer,"4" integer,"5" integer,"6" integer,"7" integer,开奖日期 varchar(10));
create table 中国福彩双色球彩票选项表(彩票名称 varchar(20),彩票类型 Integer,号码总数 integer,选择号码数 integer,开奖时间 varchar(10),开奖星期 varchar(7));
insert into 中国福彩双色球彩票选项表 values('中国福彩双色球',0,33,6,'21:15','247');
create table 中国香港六合彩彩票号码表(记录期号 varchar(7),"1" integer,"2" integer,"3" integer,"4" integer,"5" integer,"6" integer,"7" integer,开奖日期 varchar(10));
create table 中国香港六合彩彩票选项表(彩票名称 varchar(20),彩票类型 Integer,号码总数 integer,选择号码数 integer,开奖时间 varchar(10),开奖星期 varchar(7));
insert into 中国香港六合彩彩票选项表 values('中国香港六合彩',0,49,7,'21:30','246');
create table 中国福彩3D彩票号码表(记录期号 varchar(7),"1" integer,"2" integer,"3" integer,开奖日期 varchar(10));
create table 中国福彩3D彩票选项表(彩票名称 varchar(20),彩票类型 Integer,号码总数 integer,选择号码数 integer,开奖时间 varchar(10),开奖星期 varchar(7));
insert into 中国福彩3D彩票选项表 values('中国福彩3D',1,10,3,'20:30','1234567');
